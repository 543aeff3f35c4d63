#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "GameHarness.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modRender.h"
#include "tovak2d/Diagnostics.h"

// Every screen of the game drawn by SDL's software renderer and, frame for frame, by the engine's
// CPU compositor: the two pictures differ by at most one level per channel. The exceptions are
// turned sprites: pixels within a pixel of their edges, where the two decide coverage by rounding
// rules of their own, and the whole of a turned sprite under 1,024 pixels, which the software
// renderer leaves to its triangle filler (the particles), whose texels are picked by its own
// rounding too.
namespace {

namespace fs = std::filesystem;

std::string Hex(uint32_t argb) {
  char text[16];
  std::snprintf(text, sizeof text, "%08X", argb);
  return text;
}

void ExpectSamePicture(const std::string& screen) {
  tovak2d::CompositorComparison c;
  ASSERT_TRUE(tovak2d::CompareCompositorFrame(*varnel::oEngine, c)) << screen;
  EXPECT_EQ(c.pixels, 800 * 600) << screen;
  EXPECT_EQ(c.offTurnedEdges, 0) << screen << ": " << c.offTurnedEdges << " pixels differ by up to "
                                 << c.worst << " levels; the first at (" << c.firstX << ", " << c.firstY
                                 << "), software " << Hex(c.software) << ", compositor " << Hex(c.compositor);
}

// Every particle of the pool alive, spread over the screen, half of them turning.
void FillParticlePool() {
  for (int i = 0; i < static_cast<int>(varnel::Particles.size()); ++i) {
    auto& p = varnel::Particles[static_cast<size_t>(i)];
    p = {.Life = 30000, .Kind = static_cast<int16_t>(i % 2 == 0 ? 0 : 5), .Spin = 1, .Fade = true};
    p.X = static_cast<float>((i * 53) % 800);
    p.Y = static_cast<float>((i * 37) % 600);
    p.Angle = static_cast<float>(i * 7 % 360);
  }
}

// Forty packs: the built game's, copied ten times over.
void FortyPacks(const fs::path& folder) {
  const fs::path built = fs::path(VARNEL_GAME_DIR) / "packs";
  for (int copy = 1; copy < 10; ++copy)
    for (const auto& entry : fs::directory_iterator(built))
      fs::copy_file(entry.path(),
                    folder / "packs" / (entry.path().stem().string() + " " + std::to_string(copy) + ".vnl"));
  shelldata::Put(folder / "game data" / "options.ini",
                 "[Options]\r\nScreen=True\r\nMusic=False\r\nSound=False\r\nParticle=True\r\n");
}

// The catalogue index of the first pack of a layout.
int16_t PackOfLayout(const fs::path& folder, bool vertical) {
  for (size_t i = 0; i < varnel::PackFiles.size(); ++i) {
    const std::string info = shelldata::Bytes(folder / (std::to_string(i) + "packinfo.ini"));
    if ((info.find("Vertical=True") != std::string::npos) == vertical) return static_cast<int16_t>(i);
  }
  return -1;
}

}  // namespace

TEST(CompositorScreens, EveryScreenMatchesTheSoftwareRenderer) {
  tovak2d::CompareWithCompositor(true);
  GameHarness game(true, FortyPacks);
  tovak2d::CompareWithCompositor(false);
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_GE(varnel::PackFiles.size(), 40u);
  varnel::sngLogoFade = 100;

  varnel::intScreen = varnel::kScreenCredits;
  FillParticlePool();
  game.MoveMouse(700, 560);
  ExpectSamePicture("credits, every particle alive");
  for (auto [screen, name] : {std::pair{varnel::kScreenHelp, "help"},
                              {varnel::kScreenOptions, "options"},
                              {varnel::kScreenHighScores, "high scores"}}) {
    varnel::intScreen = screen;
    game.MoveMouse(405, 184);
    ExpectSamePicture(name);
  }
  varnel::intScreen = varnel::kScreenStartGame;
  game.MoveMouse(500, 184);
  ExpectSamePicture("Start Game, 40 packs, a pack's information shown");

  for (bool vertical : {true, false}) {
    const std::string layout = vertical ? "vertical" : "horizontal";
    varnel::ExitToMenu();
    varnel::intPackSel = PackOfLayout(game.folder, vertical);
    ASSERT_GE(varnel::intPackSel, 0) << "no " << layout << " pack";
    varnel::NewGame();
    game.Pass();
    ExpectSamePicture("level start prompt, " + layout);
    varnel::LoadLevel();
    varnel::sngPlayFade = 100;
    varnel::sngScore = 450;
    varnel::sngTimer = 100;
    game.MoveMouse(400, 300);
    ExpectSamePicture("play, " + layout);
  }

  varnel::intScreen = varnel::kScreenNameEntry;
  varnel::strPlayerName = "Wolfgang";
  game.MoveMouse(400, 300);
  ExpectSamePicture("name entry");
}
