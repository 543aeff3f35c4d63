// SPDX-License-Identifier: Zlib
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "PackList.h"
#include "PhotoPack.h"
#include "PhotoPackStart.h"
#include "PlayHelpers.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "tovak2d/Diagnostics.h"

// Walks every screen of the game and checks that each text it draws with a system font shows
// whole: laid out by the engine (its own line breaks and glyph widths) the text must fit its box,
// and a text drawn from the left of its box must end a few pixels before the next text on its
// row begins.
//
// Each screen is drawn by SDL's software renderer and, frame for frame, by the engine's CPU
// compositor as well: the two pictures differ by at most one level per channel. The exceptions are
// turned sprites: pixels within a pixel of their edges, where the two decide coverage by rounding
// rules of their own, and the whole of a turned sprite under 1,024 pixels, which the software
// renderer leaves to its triangle filler (the particles), whose texels are picked by its own
// rounding too.
//
// Two pairs of boxes overlap by design and are left as they are: the credits lines 13 and 14
// (50-pixel boxes 15 pixels apart, each text centred in its own) and the two help boxes (the first
// reaches below the top of the second); each text still fits its own box, which is what counts.
namespace {

namespace fs = std::filesystem;
using tovak2d::DrawRecord;

void ExpectFits(const GameHarness& game, const std::string& where) {
  for (const std::string& misfit : game.Misfits(where)) ADD_FAILURE() << misfit;
}

void ExpectSamePicture(const std::string& screen) {
  tovak2d::CompositorComparison c;
  ASSERT_TRUE(tovak2d::CompareCompositorFrame(*varnel::oEngine, c)) << screen;
  EXPECT_EQ(c.pixels, 800 * 600) << screen;
  EXPECT_EQ(c.offTurnedEdges, 0) << screen << ": up to " << c.worst << " levels apart; the first at ("
                                 << c.firstX << ", " << c.firstY << ")";
}

// A table of ten five-digit scores under eight-letter names.
std::string BigTable() {
  std::vector<std::pair<std::string, std::string>> rows;
  const char* names[] = {"Wolfgang", "Mmmmmmmm", "Waltraud", "Bartholo", "Hildegar",
                         "Wilhelmo", "Maximili", "Gwendoly", "Mortimer", "Wendelin"};
  for (int r = 0; r < 10; ++r) rows.emplace_back(std::to_string(98888 - 1111 * r), names[r]);
  return shelldata::Table(rows);
}

// The shipped packs (with their own names and descriptions) and packs with five-digit tables, `count`
// in all; and one pack the start-up check leaves out.
void PrepareLists(const fs::path& folder, size_t count) {
  const auto shipped = static_cast<size_t>(std::distance(fs::directory_iterator(folder / "packs"), {}));
  for (size_t i = shipped; i < count; ++i)
    shelldata::WritePack(folder, "Mountain Lakes " + std::to_string(i + 1) + ".vnl",
                         play::GoodPack(12, i % 2 == 0, BigTable(),
                                        "Twelve lakes high in the mountains,[e]photographed in summer"));
  auto broken = play::GoodPack(3, true, BigTable());
  broken[0].second = shelldata::PackInfo("3", "maybe");
  shelldata::WritePack(folder, "Broken Bridges.vnl", broken);
}

void WalkList(GameHarness& game, int16_t screen, float rowX, const std::string& name) {
  varnel::intScreen = screen;
  varnel::intPackScroll = 0;
  game.MoveMouse(790, 590);
  ExpectFits(game, name);
  const auto packs = static_cast<int>(varnel::PackFiles.size());
  for (int first : {0, std::max(0, packs - varnel::kPackRowsShown)}) {
    for (int row = 0; row < varnel::kPackRowsShown && first + row < packs; ++row) {
      varnel::intPackScroll = static_cast<int16_t>(first);
      game.MoveMouse(static_cast<int>(rowX) + 5, 175 + 20 * row + 9);
      EXPECT_EQ(varnel::intPackSel, first + row);
      ExpectFits(game, name + ", pack " + varnel::PackFiles[static_cast<size_t>(first + row)] + " hovered");
      if (first + row == 0) ExpectSamePicture(name + ", the first pack hovered");
    }
  }
  varnel::intPackScroll = 10000;  // the wheel rule holds it at the last rows
  game.MoveMouse(790, 590);
  ExpectFits(game, name + ", scrolled to the end");
}

}  // namespace

// Forty packs: the first rows, the last rows and every row of each hovered, on both lists.
TEST(TextFits, MenuScreensAndPackListsOfFortyPacks) {
  constexpr size_t count = 40;
  setenv("SDL_AUDIODRIVER", "none", 1);  // no sound device: the Options screen says so
  tovak2d::CompareWithCompositor(true);
  GameHarness game(true, [](const fs::path& folder) {
    shelldata::EnsureInterface(folder);
    PrepareLists(folder, count);
  });
  tovak2d::CompareWithCompositor(false);
  ASSERT_TRUE(game.started);
  game.Pass();
  ASSERT_EQ(varnel::PackFiles.size(), count);
  varnel::sngLogoFade = 100;
  for (auto [screen, name] : {std::pair{varnel::kScreenCredits, "credits"},
                              {varnel::kScreenHelp, "help"},
                              {varnel::kScreenOptions, "options"}}) {
    varnel::intScreen = screen;
    game.MoveMouse(790, 590);
    ExpectFits(game, name);
    ExpectSamePicture(name);
  }
  WalkList(game, varnel::kScreenStartGame, 360, "Start Game");
  WalkList(game, varnel::kScreenHighScores, 405, "High Scores");
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(TextFits, PlayInBothLayoutsThePanelsAndTheNameEntry) {
  const std::string caption = "An old stone bridge[e]over a quiet river[e]in the late afternoon";
  const std::vector<play::TestPack> testPacks = {
      {"Mountain Lakes.vnl", true, {play::PlainLevel(caption), play::PlainLevel(caption)}, BigTable()},
      {"Harbour Evenings.vnl", false, {play::PlainLevel(caption), play::PlainLevel(caption)}, BigTable()}};
  tovak2d::CompareWithCompositor(true);  // for every device the game makes
  play::PlaySession session(testPacks);
  for (const play::TestPack& pack : testPacks) {
    const std::string layout = pack.vertical ? "vertical" : "horizontal";
    session.ChoosePack(pack.fileName);
    ASSERT_EQ(varnel::intScreen, varnel::kScreenLevelStart);
    session.game.Pass();
    ExpectFits(session.game, "start prompt, " + layout);
    ExpectSamePicture("start prompt, " + layout);

    session.StartLevel();
    varnel::sngScore = 54321;  // the live rank among five-digit scores
    varnel::sngTimer = 100;
    session.game.MoveMouse(400, 300);
    ExpectFits(session.game, "play, " + layout);
    ExpectSamePicture("play, " + layout);
    session.FindAll(pack.levels[0]);
    session.game.Pass();
    ASSERT_TRUE(varnel::bLevelDone);
    ExpectFits(session.game, "NEXT LEVEL, " + layout);

    session.NextLevel();
    session.StartLevel();
    session.FindAll(pack.levels[1]);
    session.game.Pass();
    ASSERT_TRUE(varnel::bPackDone);
    ExpectFits(session.game, "WELLDONE, " + layout);

    // The same level lost: the game-over panel.
    varnel::bLevelDone = false;
    varnel::bPackDone = false;
    varnel::bTimerOn = true;
    varnel::sngTimer = 500;
    session.game.Pass();
    ASSERT_TRUE(session.Drew("GAME OVER"));
    ExpectFits(session.game, "game over, " + layout);

    varnel::sngScore = 99999;
    varnel::strPlayerName.clear();
    session.game.Click(varnel::bVertical ? 460 : 530, 445);
    ASSERT_EQ(varnel::intScreen, varnel::kScreenNameEntry);
    for (SDL_Scancode key : {SDL_SCANCODE_W, SDL_SCANCODE_O, SDL_SCANCODE_L, SDL_SCANCODE_F, SDL_SCANCODE_G,
                             SDL_SCANCODE_A, SDL_SCANCODE_N, SDL_SCANCODE_G})
      session.game.PressKey(key);
    ASSERT_EQ(varnel::strPlayerName, "Wolfgang");
    ExpectFits(session.game, "name entry, " + layout);
    ExpectSamePicture("name entry, " + layout);
    session.game.PressKey(SDL_SCANCODE_RETURN);
    ASSERT_EQ(varnel::intScreen, varnel::kScreenHighScores);
  }
}

// A pack made from fifty photos, twelve of them left out for the longest reasons the tool gives,
// in a folder of a long name in a player's game folder of a long path: the making, the report of a
// pack made and of one the packs folder refused; and a dropped pack refused for the pack check's
// longest reason.
TEST(TextFits, PhotoPackPanelsAndTheDropNotice) {
  testsupport::TempFolder work;
  const fs::path tool = work / "varnel-pack",
                 photos = work / "Our summer in the Dolomites with the grandchildren";
  // A stand-in for the tool: its progress and skip lines, then, once released, the pack or a refusal.
  shelldata::Put(tool, R"sh(#!/bin/sh
for out; do :; done
i=1
while [ $i -le 50 ]; do
  if [ $i -le 38 ]; then echo "photo $i/50 IMG_$i.jpg: level $i, 5 differences (removed, moved)" >&2
  else echo "varnel-pack: photo $i/50 IMG_20260814_$i Lago di Braies at sunrise.jpg: skipped, too flat or too noisy to hide five differences (room for 3 among its spots with detail)" >&2; fi
  i=$((i + 1))
done
n=0
while [ ! -e "$0.release" ] && [ $n -lt 6000 ]; do sleep 0.01; n=$((n + 1)); done
[ -e "$0.fail" ] && { echo "varnel-pack: cannot write $out.part: Permission denied" >&2; exit 1; }
cp "$0.pack" "$out"
)sh");
  ::chmod(tool.c_str(), 0755);
  fs::create_directories(photos);
  const std::string path = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
  setenv("PATH", (work.path().string() + ":" + path).c_str(), 1);
  const fs::path folder = work / "home/alexandra.konstantinopoulou/.local/share/varnel";
  fs::create_directories(folder);
  for (const char* part : {"game data", "sound", "packs"})
    fs::copy(fs::path(VARNEL_GAME_DIR) / part, folder / part, fs::copy_options::recursive);
  shelldata::Put(tool.string() + ".pack", shelldata::Archive(play::GoodPack(38, true, BigTable())));
  GameHarness game(GameHarness::ExistingFolder{folder});
  ASSERT_TRUE(game.started);
  varnel::sngLogoFade = 100;
  varnel::intScreen = varnel::kScreenStartGame;
  const auto passUntil = [&](const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (!done() && std::chrono::steady_clock::now() < deadline) game.Pass();
    game.MoveMouse(790, 590);
  };
  const std::string made = "Made \"" + photos.filename().string() + "\": 38 levels.";
  const std::string refused =
      "The pack could not be written (the folder is read-only): " + (folder / "packs").string();
  for (const std::string& outcome : {made, refused}) {
    if (outcome == refused) shelldata::Put(tool.string() + ".fail", "");
    fs::remove(tool.string() + ".release");
    varnel::StartPhotoPack({photos.string()});
    passUntil([] { return varnel::PhotoPackState().done == 50; });
    EXPECT_TRUE(game.Text("photo 50 of 50"));
    ExpectFits(game, "making");
    shelldata::Put(tool.string() + ".release", "");
    passUntil([] { return varnel::PhotoPackState().phase == varnel::PhotoPackPhase::kReport; });
    EXPECT_TRUE(game.Text("and 8 more (see log.txt)"));
    ExpectFits(game, outcome);
    varnel::ClosePhotoPackReport();
  }

  auto broken = play::GoodPack(50, true, BigTable());
  testsupport::RemoveEntry(broken, "50.jpg");
  const fs::path pack = work / "Our summer in the Dolomites with the grandchildren.vnl";
  shelldata::Put(pack, shelldata::Archive(broken));
  game.Drop({pack.string()});
  game.MoveMouse(790, 590);
  ExpectFits(game, "a refused drop");
  EXPECT_TRUE(testsupport::Contains(game.Read("log.txt"), "level 50: the picture pair is missing"));
  setenv("PATH", path.c_str(), 1);
}
