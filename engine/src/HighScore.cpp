// SPDX-License-Identifier: Zlib
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "Ini.h"
#include "Paths.h"
#include "modExtra.h"
#include "platform/Text.h"
#include "tovak2d/Extra.h"

namespace tovak2d {

struct HighScoreEntry {
  float Score = 0;
  std::string Name;
  std::vector<std::string> Values;
};

// The table one Extra object is bound to: rows 0 to TopX + 1, row TopX + 1 holding the row last
// pushed off the bottom.
struct HighScoreTable {
  bool hsLoaded = false;
  std::string hsFile;
  int16_t topX = 0;
  int16_t additionalValues = 0;
  std::vector<HighScoreEntry> hsTable;
};

namespace {

// Bounds that keep a garbled file from asking for an absurd table: every key read is a look-up of
// its own, and 1000 ranks of 255 values kept the game busy for many minutes.
constexpr int kMaxRanks = 100;
constexpr int kMaxValues = 16;

class LoadError {};

std::optional<double> ParseNumber(const std::string& textValue) {
  const std::string trimmed = text::Trim(textValue);
  if (trimmed.empty()) return std::nullopt;
  char* end = nullptr;
  const double value = std::strtod(trimmed.c_str(), &end);
  if (*end != '\0' || !std::isfinite(value)) return std::nullopt;
  return value;
}

int16_t ParseInt16(const std::string& textValue) {
  auto value = ParseNumber(textValue);
  if (!value || *value < INT16_MIN - 0.5 || *value >= INT16_MAX + 0.5) throw LoadError();
  return static_cast<int16_t>(std::nearbyint(*value));
}

// A score as the text of a single-precision value: up to 7 significant digits, no decimal point
// for whole numbers.
std::string ScoreText(float score) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.7G", static_cast<double>(score));
  return buffer;
}

bool SizeAllowed(int16_t topX, int16_t additionalValues) {
  return topX >= 0 && topX <= kMaxRanks && additionalValues >= 0 && additionalValues <= kMaxValues;
}

// The keys of a row's score, name and first valueCount values, added to writes.
void AddRow(std::vector<modExtra::IniWrite>& writes, const HighScoreTable& table, int row,
            size_t valueCount) {
  const std::string r = std::to_string(row);
  const HighScoreEntry& entry = table.hsTable[row];
  writes.push_back({"scores", r + "_score", ScoreText(entry.Score)});
  writes.push_back({"scores", r + "_name", entry.Name});
  for (size_t k = 0; k < entry.Values.size() && k < valueCount; ++k)
    writes.push_back({"scores", r + "_value_" + std::to_string(k), entry.Values[k]});
}

}  // namespace

Extra::Extra() : hs_(std::make_unique<HighScoreTable>()) {}
Extra::~Extra() = default;

bool Extra::HighScore_Create(std::string& FileName, int16_t& TopX, int16_t& additionalValues) {
  HighScoreTable& hs = *hs_;
  hs.hsFile.clear();
  hs.hsLoaded = false;
  hs.hsTable.clear();
  FileName = paths::Resolve(FileName);
  try {
    if (modExtra::CheckFile(FileName)) {
      TopX = ParseInt16(modExtra::ReadIniValue("setup", "TopX", FileName));
      additionalValues = ParseInt16(modExtra::ReadIniValue("setup", "additionalValues ", FileName));
    } else {
      // A size the table refuses is never written down, so no file is left behind for it.
      if (!SizeAllowed(TopX, additionalValues)) throw LoadError();
      modExtra::WriteIniValue("setup", "TopX", std::to_string(TopX), FileName);
      modExtra::WriteIniValue("setup", "additionalValues", std::to_string(additionalValues), FileName);
    }
    if (!SizeAllowed(TopX, additionalValues)) throw LoadError();

    std::vector<HighScoreEntry> rows(static_cast<size_t>(TopX) + 2);
    for (auto& row : rows) row.Values.assign(static_cast<size_t>(additionalValues) + 1, "");
    if (modExtra::CheckFile(FileName)) {
      for (size_t r = 0; r < rows.size(); ++r) {
        const std::string prefix = std::to_string(r);
        const std::string scoreText = modExtra::ReadIniValue("scores", prefix + "_score", FileName);
        if (!text::Trim(scoreText).empty()) {
          auto value = ParseNumber(scoreText);
          if (!value) throw LoadError();
          rows[r].Score = static_cast<float>(std::floor(*value));
        }
        rows[r].Name = modExtra::ReadIniValue("scores", prefix + "_name", FileName);
        for (size_t k = 0; k < rows[r].Values.size(); ++k)
          rows[r].Values[k] =
              modExtra::ReadIniValue("scores", prefix + "_value_" + std::to_string(k), FileName);
      }
    }
    hs.hsFile = FileName;
    hs.topX = TopX;
    hs.additionalValues = additionalValues;
    hs.hsTable = std::move(rows);
    hs.hsLoaded = true;
    return true;
  } catch (const LoadError&) {
  } catch (const modExtra::LogError&) {
  }
  SaveLog("Error in loading HighScores : " + FileName);
  return false;
}

bool Extra::HighScore_Create(std::string& FileName, int16_t& TopX) {
  int16_t additionalValues = 0;
  return HighScore_Create(FileName, TopX, additionalValues);
}

bool Extra::HighScore_Create(std::string& FileName) {
  int16_t topX = 10;
  return HighScore_Create(FileName, topX);
}

bool Extra::HighScore_Create() {
  std::string fileName = "hs.ini";
  return HighScore_Create(fileName);
}

int16_t Extra::HighScore_NewScore(float Score, const std::string& Name,
                                  const std::vector<std::string>& Value) {
  HighScoreTable& hs = *hs_;
  if (!hs.hsLoaded) return 0;
  auto& rows = hs.hsTable;
  std::vector<HighScoreEntry> before = rows;
  // Bubbles up from the bottom: every row the new score passes moves down one and is rewritten,
  // then the new row. The rows change in memory and the file is replaced once with all of them.
  std::vector<modExtra::IniWrite> writes;
  for (int i = hs.topX; i >= 1; --i) {
    if (!(Score > rows[i].Score)) continue;
    rows[i + 1] = rows[i];
    AddRow(writes, hs, i + 1, rows[i + 1].Values.size());
    if (i != 1 && Score > rows[i - 1].Score) continue;
    rows[i].Score = Score;
    rows[i].Name = Name;
    for (size_t k = 0; k < rows[i].Values.size() && k < Value.size(); ++k) rows[i].Values[k] = Value[k];
    AddRow(writes, hs, i, Value.size());
    std::string error;
    if (modExtra::WriteIniValues(writes, hs.hsFile, &error)) return static_cast<int16_t>(i);
    // A score that could not be stored (a read-only file, a full disk) has not entered: the file
    // is as it was, and so is the table; the caller learns it from the 0 and the log line, which
    // names the cause.
    SaveLog("Error in saving HighScores : " + hs.hsFile +
            (error.empty() ? "" : " (" + Utf8ToCp1252Lossy(error) + ")"));
    rows = std::move(before);
    return 0;
  }
  return 0;
}

int16_t Extra::HighScore_CheckPos(float Score) {
  const HighScoreTable& hs = *hs_;
  if (!hs.hsLoaded) return 0;
  for (int i = 1; i <= hs.topX; ++i)
    if (hs.hsTable[i].Score < Score) return static_cast<int16_t>(i);
  return static_cast<int16_t>(hs.topX + 1);
}

float Extra::HighScore_GetScore(int16_t Index) {
  const HighScoreTable& hs = *hs_;
  if (!hs.hsLoaded || Index < 0 || Index >= static_cast<int>(hs.hsTable.size())) return 0;
  return hs.hsTable[Index].Score;
}

std::string Extra::HighScore_GetName(int16_t Index) {
  const HighScoreTable& hs = *hs_;
  if (!hs.hsLoaded || Index < 0 || Index >= static_cast<int>(hs.hsTable.size())) return {};
  return hs.hsTable[Index].Name;
}

std::string Extra::HighScore_GetValue(int16_t Index, int16_t valueIndex) {
  const HighScoreTable& hs = *hs_;
  if (!hs.hsLoaded || Index < 0 || Index >= static_cast<int>(hs.hsTable.size())) return {};
  const auto& values = hs.hsTable[Index].Values;
  if (valueIndex < 0 || valueIndex >= static_cast<int>(values.size())) return {};
  return values[valueIndex];
}

}  // namespace tovak2d
