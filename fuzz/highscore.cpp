// SPDX-License-Identifier: Zlib
// The high-score loader on hostile bytes: the bytes are a table file that is loaded the way the
// game loads a pack's table (10 ranks asked for, the file's own counts taken), a position is
// checked, a score is entered and every row is read. The table in memory and the file must stay
// in step: loading the file again gives the same rows.
#include <cstdint>
#include <string>
#include <vector>

#include "FuzzSupport.h"
#include "modExtra.h"
#include "tovak2d/Extra.h"

using fuzzsupport::Check;
namespace modExtra = tovak2d::modExtra;

namespace {

struct Row {
  float score;
  std::string name;
};

std::vector<Row> Rows(tovak2d::Extra& extra, int16_t topX) {
  std::vector<Row> rows;
  for (int i = 0; i <= topX + 1; ++i) {
    const auto index = static_cast<int16_t>(i);
    rows.push_back({extra.HighScore_GetScore(index), extra.HighScore_GetName(index)});
  }
  return rows;
}

// Scores are stored with seven significant digits and names lose one pair of quotes around them
// on every read, as the profile rules have it: such rows may differ after a reload.
bool StoredExactly(const Row& row) {
  const bool quoted = !row.name.empty() && (row.name.front() == '"' || row.name.front() == '\'');
  return row.score > -1e7f && row.score < 1e7f && !quoted;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const auto& scratch = fuzzsupport::Enter(modExtra::AppPath);
  fuzzsupport::Choices choices(data, size);
  const float score = static_cast<float>(choices.Byte()) * 100.0f;
  scratch.Put("0hscore.ini", choices.Rest());

  tovak2d::Extra extra;
  std::string file = "0hscore.ini";
  int16_t topX = 10, additionalValues = 0;
  if (extra.HighScore_Create(file, topX, additionalValues)) {
    const int16_t position = extra.HighScore_CheckPos(score);
    Check(position >= 1 && position <= topX + 1, "the position is outside the table");
    const int16_t rank = extra.HighScore_NewScore(score, "Fuzz Player", {"extra"});
    // A damaged file may hold its rows out of order, so the rank may differ from the position.
    Check(rank >= 0 && rank <= topX, "the score took a rank outside the table");
    if (rank > 0) Check(extra.HighScore_GetScore(rank) == score, "the score entered is not in its row");
    const std::vector<Row> rows = Rows(extra, topX);
    extra.HighScore_GetValue(1, 0);
    extra.HighScore_GetValue(-1, 300);

    tovak2d::Extra reloaded;
    std::string again = "0hscore.ini";
    int16_t reloadedTopX = 10, reloadedValues = 0;
    Check(reloaded.HighScore_Create(again, reloadedTopX, reloadedValues), "the table written does not load");
    Check(reloadedTopX == topX && reloadedValues == additionalValues, "the table's counts changed");
    const std::vector<Row> stored = Rows(reloaded, topX);
    for (size_t i = 0; i < rows.size(); ++i) {
      if (!StoredExactly(rows[i])) continue;
      Check(stored[i].score == rows[i].score && stored[i].name == rows[i].name,
            "row " + std::to_string(i) + " differs between the table and its file");
    }
  } else {
    Check(extra.HighScore_NewScore(score, "Fuzz Player", {}) == 0,
          "a table that failed to load took a score");
    Check(extra.HighScore_GetName(1).empty(), "a table that failed to load has rows");
  }

  scratch.Clear();
  scratch.CheckNoStrays();
  return 0;
}
