#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "PlayHelpers.h"
#include "ShellData.h"

// What the crash and endurance tests share: how long they run, the game folder they play in, and
// readers of the files a player keeps, written apart from the engine so that a fault there cannot
// hide itself.
namespace reliability {

namespace fs = std::filesystem;

// A count from the environment, or the build's default: the sanitizer build runs far slower, so
// it asks for fewer rounds unless told otherwise.
inline int CountFromEnvironment(const char* variable, int normalDefault, int sanitizedDefault) {
#ifdef VARNEL_SANITIZED_BUILD
  constexpr bool sanitized = true;
#else
  constexpr bool sanitized = false;
#endif
  int count = sanitized ? sanitizedDefault : normalDefault;
  if (const char* text = std::getenv(variable)) {
    char* end = nullptr;
    const long value = std::strtol(text, &end, 10);
    if (end != text && *end == '\0' && value > 0 && value <= 100000) count = static_cast<int>(value);
  }
  return count;
}

// A game folder of the built sounds and options, the packs given, and interface pictures of
// 8 x 8 pixels: the game does all its work, but the software renderer no longer spends most of
// each pass filling the whole frame.
inline fs::path MakeGameFolder(const std::vector<play::TestPack>& packs) {
  char pattern[] = "/tmp/varnel-reliability-XXXXXX";
  const fs::path folder = mkdtemp(pattern);
  fs::copy(fs::path(VARNEL_GAME_DIR) / "sound", folder / "sound", fs::copy_options::recursive);
  fs::create_directories(folder / "game data");
  fs::copy_file(fs::path(VARNEL_GAME_DIR) / "game data" / "options.ini",
                folder / "game data" / "options.ini");
  shelldata::WriteInterfaceArchive(folder);
  shelldata::OnlyPacks(folder, {});
  for (const play::TestPack& pack : packs) play::WritePack(folder, pack);
  return folder;
}

// Removes a test's game folder however the test ends.
struct RemovedAtEnd {
  explicit RemovedAtEnd(fs::path path) : folder(std::move(path)) {}
  RemovedAtEnd(const RemovedAtEnd&) = delete;
  RemovedAtEnd& operator=(const RemovedAtEnd&) = delete;
  ~RemovedAtEnd() {
    std::error_code ec;
    fs::remove_all(folder, ec);
  }
  fs::path folder;
};

// Every file under the folder, as paths relative to it.
inline std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (!it->is_directory(ec)) names.insert(fs::relative(it->path(), folder, ec).string());
  return names;
}

using testsupport::ArchiveEntry;
using testsupport::ReadArchive;

// Expects the pack to read whole: its original entries byte for byte, each once, and one table,
// which it returns.
inline std::string ExpectWholePack(const fs::path& pack, const std::vector<ArchiveEntry>& original) {
  const auto entries = ReadArchive(pack);
  EXPECT_TRUE(entries) << pack << " is gone";
  if (!entries) return {};
  std::map<std::string, int> seen;
  std::string table;
  for (const ArchiveEntry& entry : *entries) {
    ++seen[entry.name];
    if (entry.name == "hscore.ini") table = entry.contents;
  }
  EXPECT_EQ(seen["hscore.ini"], 1) << pack << " holds its table " << seen["hscore.ini"] << " times";
  for (const ArchiveEntry& entry : original) {
    if (entry.name == "hscore.ini") continue;
    EXPECT_EQ(seen[entry.name], 1) << pack << ": entry " << entry.name;
    EXPECT_TRUE(std::any_of(
        entries->begin(), entries->end(),
        [&](const ArchiveEntry& e) { return e.name == entry.name && e.contents == entry.contents; }))
        << pack << ": entry " << entry.name << " changed";
  }
  EXPECT_EQ(entries->size(), original.size()) << pack << " gained entries";
  return table;
}

// One row of a high-score table: the score as a whole number and the name.
struct Row {
  long score = 0;
  std::string name;
  bool operator==(const Row&) const = default;
};
using Table = std::vector<Row>;  // ranks 1 to 10

// Ranks 1 to 10 of a table file's text; keys that are missing read as score 0 and no name.
inline Table ReadTable(const std::string& text) {
  std::map<std::string, std::string> values;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(begin, end - begin);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
    begin = end + 1;
  }
  Table table(10);
  for (int rank = 1; rank <= 10; ++rank) {
    const std::string score = values[std::to_string(rank) + "_score"];
    table[static_cast<size_t>(rank - 1)] = {
        static_cast<long>(std::floor(std::strtod(score.c_str(), nullptr))),
        values[std::to_string(rank) + "_name"]};
  }
  return table;
}

// A score entered into a table: it goes above the first row it beats; an equal score stays below.
inline Table WithScore(Table table, const Row& entry) {
  for (size_t i = 0; i < table.size(); ++i)
    if (entry.score > table[i].score) {
      table.insert(table.begin() + static_cast<std::ptrdiff_t>(i), entry);
      table.pop_back();
      break;
    }
  return table;
}

inline std::string Describe(const Table& table) {
  std::string out;
  for (const Row& row : table)
    if (row.score != 0 || !row.name.empty()) out += std::to_string(row.score) + " " + row.name + "; ";
  return out;
}

// Resident memory of this process in kilobytes, from /proc/self/status.
inline long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
  return -1;
}

}  // namespace reliability
