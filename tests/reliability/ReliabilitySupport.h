// SPDX-License-Identifier: Zlib
#pragma once

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "PlayHelpers.h"
#include "ShellData.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"

// What the crash, fault and endurance tests share: how long they run, the game folder they play in,
// a game played to its score, and readers of the files a player keeps, written apart from the engine
// so that a fault there cannot hide itself.
namespace reliability {

namespace fs = std::filesystem;
using testsupport::ArchiveEntry;
using testsupport::ReadArchive;

// A count from the environment, or the build's default: the sanitizer build runs far slower, so
// it asks for fewer rounds unless told otherwise.
inline int CountFromEnvironment(const char* variable, [[maybe_unused]] int normalDefault,
                                [[maybe_unused]] int sanitizedDefault) {
  const char* text = std::getenv(variable);
  if (text && std::atoi(text) > 0) return std::atoi(text);
#ifdef VARNEL_SANITIZED_BUILD
  return sanitizedDefault;
#else
  return normalDefault;
#endif
}

// The seed of a test's random choices: fixed, so that a run can be replayed, unless VARNEL_SEED gives
// one, or is "random" for a new one each run by hand. It is printed; the caller traces it too.
inline uint64_t TestSeed(const char* test, unsigned long long fixed) {
  const std::string given = std::getenv("VARNEL_SEED") ? std::getenv("VARNEL_SEED") : "";
  const auto seed = given == "random" ? std::random_device{}() : given.empty() ? fixed : std::stoull(given);
  std::printf("%s: seed %llu (VARNEL_SEED=%llu replays it)\n", test, seed, seed);
  std::fflush(stdout);
  return seed;
}

// Two packs with the same three scores, the second of two levels: the kill and the fault tests play
// them to a score.
inline const std::vector<play::TestPack>& ScoredPacks() {
  static const std::vector<play::TestPack> packs = [] {
    const std::string table = shelldata::Table({{"900", "Ann"}, {"600", "Bob"}, {"300", "Cy"}});
    return std::vector<play::TestPack>{
        {"Garden.vnl", true, {play::PlainLevel("Garden")}, table},
        {"Harbour.vnl", false, {play::PlainLevel("Quay"), play::PlainLevel("Boats")}, table}};
  }();
  return packs;
}

// Name number n as the name entry makes it: a capital, then small letters.
inline std::string EntryName(char capital, int n) {
  std::string name(1, capital);
  for (; n > 0 || name.size() == 1; n /= 26) name += static_cast<char>('a' + n % 26);
  return name;
}

// Fills an empty folder with the built sounds and options, the packs given, and interface pictures
// of 8 x 8 pixels: the game does all its work, but the software renderer no longer spends most of
// each pass filling the whole frame.
inline void FillGameFolder(const fs::path& folder, const std::vector<play::TestPack>& packs) {
  fs::copy(fs::path(VARNEL_GAME_DIR) / "sound", folder / "sound", fs::copy_options::recursive);
  fs::create_directories(folder / "game data");
  fs::copy_file(fs::path(VARNEL_GAME_DIR) / "game data" / "options.ini",
                folder / "game data" / "options.ini");
  shelldata::WriteInterfaceArchive(folder);
  shelldata::OnlyPacks(folder, {});
  for (const play::TestPack& pack : packs) play::WritePack(folder, pack);
}

// Every file under the folder, as paths relative to it.
inline std::set<std::string> Listing(const fs::path& folder) {
  std::set<std::string> names;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec))
    if (!it->is_directory(ec)) names.insert(fs::relative(it->path(), folder, ec).string());
  return names;
}

// One row of a high-score table: the score as a whole number and the name.
struct Row {
  long score = 0;
  std::string name;
  bool operator==(const Row&) const = default;
};
inline void PrintTo(const Row& row, std::ostream* out) {
  *out << row.score << " " << row.name;
}
using Table = std::vector<Row>;  // ranks 1 to 10

// Ranks 1 to 10 of a table file's text; keys that are missing read as score 0 and no name.
inline Table ReadTable(const std::string& text) {
  std::map<std::string, std::string> values;
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    const size_t equals = line.find('=');
    if (equals != std::string::npos) values[line.substr(0, equals)] = line.substr(equals + 1);
  }
  Table table;
  for (int rank = 1; rank <= 10; ++rank) {
    const std::string score = values[std::to_string(rank) + "_score"];
    table.push_back({static_cast<long>(std::floor(std::strtod(score.c_str(), nullptr))),
                     values[std::to_string(rank) + "_name"]});
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

// Expects the pack to read whole: its original entries byte for byte, each once, and one table that
// holds `table`, or `table` with the pending rows entered. Returns the table it holds.
inline Table ExpectWholePack(const fs::path& pack, const std::vector<ArchiveEntry>& original,
                             const Table& table, const std::vector<Row>& pending = {}) {
  std::multiset<std::pair<std::string, std::string>> expected, found;
  for (const ArchiveEntry& entry : original)
    if (entry.name != "hscore.ini") expected.emplace(entry.name, entry.contents);
  std::vector<std::string> tables;
  for (const ArchiveEntry& entry : ReadArchive(pack).value_or(std::vector<ArchiveEntry>{})) {
    if (entry.name == "hscore.ini")
      tables.push_back(entry.contents);
    else
      found.emplace(entry.name, entry.contents);
  }
  EXPECT_EQ(tables.size(), 1u) << pack << " holds its table " << tables.size() << " times";
  EXPECT_TRUE(found == expected) << pack << ": entries changed, lost or gained (or the pack is gone)";
  const Table held = ReadTable(tables.empty() ? "" : tables[0]);
  Table withPending = table;
  for (const Row& row : pending) withPending = WithScore(withPending, row);
  using ::testing::PrintToString;
  EXPECT_TRUE(held == table || held == withPending)
      << pack << " lost scores: it should hold " << PrintToString(table)
      << (pending.empty() ? "" : " (or with the pending ones " + PrintToString(withPending) + ")")
      << " but holds " << PrintToString(held);
  return held;
}

// Reads a "pending PACK SCORE NAME" line of SubmitScore's.
inline bool ReadPending(const std::string& line, std::string& pack, Row& row) {
  char packName[64] = {}, name[16] = {};
  if (std::sscanf(line.c_str(), "pending %63s %ld %15s", packName, &row.score, name) != 3) return false;
  pack = packName;
  row.name = name;
  return true;
}

// In a started session, wins every level of the pack after misses() misses each. Returns what went
// wrong, or nothing.
inline std::string WinPack(play::PlaySession& session, const play::TestPack& pack,
                           const std::function<int()>& misses) {
  session.ChoosePack(pack.fileName);
  for (size_t level = 0; level < pack.levels.size(); ++level) {
    if (level > 0) session.NextLevel();
    session.StartLevel();
    if (varnel::intScreen != varnel::kScreenPlaying || varnel::sngPlayFade < 100)
      return "level " + std::to_string(level + 1) + " of " + pack.fileName + " did not start";
    for (int miss = misses(); miss > 0; --miss) session.ClickPicture(true, 250, 5);
    session.FindAll(pack.levels[level]);
    if (!varnel::bLevelDone) return "five finds did not win the level";
  }
  return "";
}

// At the end of a game, submits the score and, when it ranks, types name over the one offered,
// reports "pending PACK SCORE NAME", presses Enter and reports "confirmed" once the High Scores
// show. Returns what went wrong, or nothing.
inline std::string SubmitScore(play::PlaySession& session, const std::string& pack, const std::string& name,
                               const std::function<void(const std::string&)>& report) {
  session.game.Click(varnel::bVertical ? 460 : 530, 445);  // SUBMIT SCORE
  if (varnel::intScreen != varnel::kScreenNameEntry)
    return varnel::intScreen == varnel::kScreenHighScores ? "" : "SUBMIT SCORE led nowhere";
  for (int erase = 0; erase < 16 && !varnel::strPlayerName.empty(); ++erase)
    session.game.PressKey(SDL_SCANCODE_BACKSPACE);
  for (const char letter : name)
    session.game.PressKey(static_cast<SDL_Scancode>(SDL_SCANCODE_A + (std::tolower(letter) - 'a')));
  if (varnel::strPlayerName != name) return "typed " + name + ", the game holds " + varnel::strPlayerName;
  report("pending " + pack + " " + std::to_string(static_cast<long>(varnel::sngScore)) + " " + name);
  session.game.PressKey(SDL_SCANCODE_RETURN);
  if (varnel::intScreen != varnel::kScreenHighScores) return "Enter did not confirm the name";
  report("confirmed");
  return "";
}

}  // namespace reliability
