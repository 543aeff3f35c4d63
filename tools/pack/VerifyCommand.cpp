// SPDX-License-Identifier: Zlib
#include <cstdio>

#include "CommandSupport.h"
#include "Commands.h"
#include "DiffMeasure.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

void CheckLevel(Session& session, const packs::LevelInfo& level, bool vertical,
                std::vector<std::string>& problems) {
  const std::string where = "level " + std::to_string(level.number) + ": ";
  const ShownSize size = ShownSizeOf(vertical);
  std::vector<PixelRect> rects;
  for (const packs::Rect& rect : level.rects) rects.push_back(ToPixels(rect));
  const size_t before = problems.size();
  CheckGeometry(rects, size, where, problems);
  // Measuring rectangles that are broken as such would only repeat the same fault in other words.
  const bool measurable = problems.size() == before;

  bool picturesUsable = true;
  std::optional<Image> pictures[2];
  const std::string* entries[2] = {&level.originalEntry, &level.modifiedEntry};
  for (int i = 0; i < 2; ++i) {
    std::string error;
    pictures[i] = LoadEntry(session, *entries[i], &error);
    if (!pictures[i]) {
      problems.push_back(where + *entries[i] + " " + error);
      picturesUsable = false;
    } else if (pictures[i]->width != size.width || pictures[i]->height != size.height) {
      problems.push_back(where + *entries[i] + " is " + std::to_string(pictures[i]->width) + " x " +
                         std::to_string(pictures[i]->height) + " pixels; the " + LayoutName(vertical) +
                         " layout shows " + std::to_string(size.width) + " x " + std::to_string(size.height));
      picturesUsable = false;
    }
  }
  if (!picturesUsable || !measurable) return;

  const DiffSettings settings;
  const Measurement measured = Measure(*pictures[0], *pictures[1], rects, settings);
  for (size_t i = 0; i < rects.size(); ++i)
    if (measured.pixelsInside[i] < settings.minPixels)
      problems.push_back(where + "rectangle " + std::to_string(i + 1) + " " + Describe(rects[i]) +
                         " holds no visible difference");
  for (const PixelRect& stray : measured.outside)
    problems.push_back(where + "the pictures differ outside every rectangle at " + Describe(stray));
}

// The game keeps playing a pack whose table does not load, but its scores are then lost.
void CheckScores(Session& session, std::vector<std::string>& problems) {
  tovak2d::Extra& extra = session.extra();
  if (!extra.PAK_ExtractFile("hscore.ini", "verify-hscore.ini")) return;
  std::string file = "verify-hscore.ini";
  int16_t ranks = 10, values = 0;
  if (!extra.HighScore_Create(file, ranks, values))
    problems.push_back("hscore.ini: the high-score table cannot be read");
  std::error_code ignored;
  fs::remove(session.ScratchPath("verify-hscore.ini"), ignored);
}

bool VerifyOne(Session& session, const fs::path& pack) {
  std::vector<std::string> problems;
  std::error_code ec;
  auto name = EngineName(pack);
  if (!fs::is_regular_file(pack, ec)) {
    problems.push_back("no such pack file");
  } else if (!name) {
    problems.push_back("the path holds characters the engine cannot name");
  } else {
    packs::PackReport report = packs::CheckPack(session.extra(), *name, "verify-", session.folder());
    problems = report.problems;
    // The check leaves the pack open when it could be opened; a failed open leaves another one.
    if (session.extra().PAK_OpenPAK(*name) && session.extra().PAK_FileCount() > 0) {
      for (const packs::LevelInfo& level : report.levels)
        if (level.complete) CheckLevel(session, level, report.vertical, problems);
      CheckScores(session, problems);
    }
    if (problems.empty())
      std::printf("%s: sound, %d levels, %s\n", pack.string().c_str(), report.numLevels,
                  LayoutName(report.vertical));
  }
  for (const std::string& problem : problems)
    std::printf("%s: %s\n", pack.string().c_str(), tovak2d::Cp1252ToUtf8(problem).c_str());
  session.TakeLog();
  return problems.empty();
}

}  // namespace

int RunVerify(const std::vector<std::string>& arguments) {
  std::string error;
  auto args = ParseArgs(arguments, {}, {}, 1, -1, &error);
  if (!args) {
    PrintError(error + " (see --help)");
    return kExitUsage;
  }
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  bool allSound = true;
  for (const std::string& pack : args->positional) allSound = VerifyOne(*session, pack) && allSound;
  return allSound ? kExitOk : kExitFailure;
}

}  // namespace varnel::pack
