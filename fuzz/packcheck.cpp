// SPDX-License-Identifier: Zlib
// The catalogue's pack check on hostile bytes: the bytes are a pack file in the packs folder,
// checked the way the game checks every pack at start-up; a pack that passes has its settings and
// table copied out and its information read as the pack list shows it. The check's own files must
// all be gone afterwards, and nothing may be written outside the application folder.
#include <cstdint>
#include <filesystem>
#include <string>

#include "Archive.h"
#include "EngineTargets.h"
#include "PackCheck.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"

using fuzzsupport::Check;
namespace modExtra = tovak2d::modExtra;
namespace packs = varnel::packs;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Enter(modExtra::AppPath);
  scratch.Put("packs/fuzz.vnl", {reinterpret_cast<const char*>(data), size});

  tovak2d::Extra extra;
  const packs::PackReport report = packs::CheckPack(extra, "\\packs\\fuzz.vnl", "packcheck_", scratch.app());
  for (const char* left : {"packcheck_packinfo.ini", "packcheck_picinfo.ini", "packcheck_picture"})
    Check(!std::filesystem::exists(scratch.app() / left), std::string("the check left ") + left + " behind");
  if (report.ok()) {
    Check(report.numLevels >= 1 && report.numLevels <= packs::kMaxLevels,
          "a sound pack has a level count out of range");
    Check(report.levels.size() == static_cast<size_t>(report.numLevels), "a sound pack lacks a level");
    for (const packs::LevelInfo& level : report.levels)
      Check(level.complete, "a sound pack has a broken level");
    extra.PAK_OpenPAK("/packs/fuzz.vnl", false, "Open File", "");
    extra.PAK_ExtractFile("packinfo.ini", "0packinfo.ini", false);
    extra.PAK_ExtractFile("hscore.ini", "0hscore.ini", false);
    for (const char* key : {"Vertical", "NumOfLevels", "PackInfo"})
      extra.INIRead("General", key, "0packinfo.ini");
    extra.INIRead("scores", "1_score", "0hscore.ini");
    extra.INIRead("scores", "1_name", "0hscore.ini");
  }

  fuzzsupport::ForgetArchive(scratch);
  return 0;
}
