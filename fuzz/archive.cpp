// SPDX-License-Identifier: Zlib
// The archive index on hostile bytes: the bytes are an archive file that is opened, counted,
// listed and extracted entry by entry and as a whole, and one entry is deleted. Nothing may be
// written outside the application folder, and the index must agree with itself.
#include <cstdint>
#include <string>
#include <vector>

#include "Archive.h"
#include "EngineTargets.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"

using fuzzsupport::Check;
namespace modExtra = tovak2d::modExtra;

namespace {

constexpr size_t kMostEntriesExtracted = 64;

std::vector<std::string> UsedNames() {
  std::vector<std::string> names;
  for (const modExtra::PakEntry& entry : modExtra::PakIndex)
    if (!entry.ShortName.empty()) names.push_back(entry.ShortName);
  return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Enter(modExtra::AppPath);
  const std::string archive(reinterpret_cast<const char*>(data), size);
  scratch.Put("packs/fuzz.vnl", archive);

  tovak2d::Extra extra;
  Check(extra.PAK_OpenPAK("\\packs\\fuzz.vnl"), "an existing archive did not open");
  const std::vector<std::string> names = UsedNames();
  Check(extra.PAK_FileCount() == static_cast<int16_t>(names.size()), "the count differs from the index");
  Check(!modExtra::PakIndex.empty(), "an opened archive has no slot");
  for (const modExtra::PakEntry& entry : modExtra::PakIndex)
    Check(entry.ContentsStart + entry.ContentsLength <= size, "an entry reaches past the end of the file");

  for (size_t i = 0; i < names.size() && i < kMostEntriesExtracted; ++i) {
    extra.PAK_ExtractFile(names[i]);
    extra.PAK_ExtractFile("C:\\elsewhere\\" + names[i], "chosen.bin");
  }
  extra.PAK_ExtractAll("out");
  extra.PAK_ExtractAll();
  scratch.CheckNoStrays();

  // Deleting rewrites the archive in the other layout, which must read back as the same entries
  // less the one deleted.
  if (!names.empty()) {
    Check(extra.PAK_DeleteFile(names.front()), "deleting from a readable archive failed");
    Check(extra.PAK_OpenPAK("\\packs\\fuzz.vnl"), "the rewritten archive did not open");
    std::vector<std::string> expected(names.begin() + 1, names.end());
    Check(UsedNames() == expected, "the rewritten archive holds other entries");
  }

  fuzzsupport::ForgetArchive(scratch);
  return 0;
}
