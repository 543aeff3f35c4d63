// SPDX-License-Identifier: Zlib
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "ScreenLayout.h"
#include "modDeclares.h"
#include "modGame.h"
#include "modMain.h"
#include "modRender.h"

namespace varnel {
namespace {

// A damaged table file makes every binding fail with a log line; each is tried once a run, not
// fifty times a second while the live rank or the High Scores table is shown.
std::set<std::string> unusableTables;

// The table as bound again from its file holds the score at the rank it was given.
bool TableHolds(int16_t rank) {
  return rank > 0 && BindPackTable() && oExtra->HighScore_GetScore(rank) == sngScore;
}

// Confirmed scores the table copy could not take (a full disk, a failing write): kept for the rest
// of the run and tried again at the next confirmation and at shutdown.
struct PendingScore {
  int16_t pack;
  float score;
  std::string name;
};
std::vector<PendingScore> pendingScores;

bool BindTable(int16_t pack) {
  std::string file = std::to_string(pack) + "hscore.ini";
  if (unusableTables.contains(file)) return false;
  int16_t topX = 10, additionalValues = 0;
  const std::string name = file;
  if (oExtra->HighScore_Create(file, topX, additionalValues)) return true;
  unusableTables.insert(name);
  return false;
}

// Enters one kept score into its table copy; true when the copy holds it now.
bool EnterPending(const PendingScore& pending) {
  if (!BindTable(pending.pack)) return false;
  const int16_t rank = oExtra->HighScore_NewScore(pending.score, pending.name, {});
  return rank > 0 && BindTable(pending.pack) && oExtra->HighScore_GetScore(rank) == pending.score &&
         oExtra->HighScore_GetName(rank) == pending.name;
}

void DrawRankRow(float y, const std::string& rank, const std::string& name, const std::string& score,
                 int32_t color) {
  const float columns[2][3] = {{30, 60, 160}, {5, 35, 110}};
  const float* x = columns[bVertical ? 1 : 0];
  oEngine->DrawFont("titleS", x[0], y, 150, 25, rank, color, 0);
  oEngine->DrawFont("titleS", x[1], y, 150, 25, name, color, 0);
  oEngine->DrawFont("titleS", x[2], y, 150, 25, score, color, 0);
}

// A row of the table under its own rank number, or shifted down one place by the player.
void DrawTableRow(float y, int rankShown, int rankRead, int32_t color) {
  const auto row = static_cast<int16_t>(rankRead);
  DrawRankRow(y, std::to_string(rankShown) + ".", oExtra->HighScore_GetName(row),
              SingleText(oExtra->HighScore_GetScore(row)), color);
}

void NameEntryParticles() {
  if (!bParticlesOn) return;
  struct Spark {
    int16_t kind;
    double spread;
    double life;
  };
  constexpr Spark sparks[4] = {{7, 1, 40}, {4, 2, 45}, {4, 2, 50}, {4, 2, 55}};
  for (const Spark& spark : sparks) {
    const double r1 = Rnd(), r2 = Rnd(), r3 = Rnd(), r4 = Rnd(), r5 = Rnd();
    ParticleFX(true, spark.kind, static_cast<float>(800 * r1 - 20), static_cast<float>(600 * r2 - 20),
               static_cast<float>(std::floor(spark.spread * r3) + 1),
               static_cast<float>(std::floor(3 * r4) + 1), 2, static_cast<float>(5 * r5 + spark.life), true);
  }
}

}  // namespace

void TellScoreNotStored(const std::string& why) {
  strScoreNotice = "Your score of " + SingleText(sngScore) + " could not be stored: " + why + ".";
  oExtra->SaveLog("Score not stored : " + SingleText(sngScore) + " in pack " + strPackFile + " : " + why);
}

bool BindPackTable() {
  return BindTable(intPackSel);
}

void ForgetPendingScores() {
  pendingScores.clear();
  unusableTables.clear();
}

bool StorePendingScores() {
  if (pendingScores.empty()) return true;
  std::set<int16_t> entered;
  std::erase_if(pendingScores, [&](const PendingScore& pending) {
    if (!EnterPending(pending)) return false;
    oExtra->SaveLog("Score stored on a later try : " + SingleText(pending.score) + " of " + pending.name);
    entered.insert(pending.pack);
    return true;
  });
  for (const int16_t pack : entered) SavePackScore(pack);
  BindPackTable();
  return pendingScores.empty();
}

void DrawLiveRank() {
  const float rowsVertical[5] = {500, 515, 530, 545, 560};
  const float rowsHorizontal[5] = {450, 465, 480, 495, 510};
  const float* y = bVertical ? rowsVertical : rowsHorizontal;
  if (!BindPackTable()) {
    DrawRankRow(y[2], "", "YOU", SingleText(sngScore), ARGB(200, 255, 255, 255));
    return;
  }
  const int p = oExtra->HighScore_CheckPos(sngScore);
  if (p >= 3) DrawTableRow(y[0], p - 2, p - 2, ARGB(150, 100, 255, 100));
  if (p >= 2) DrawTableRow(y[1], p - 1, p - 1, ARGB(200, 150, 255, 150));
  DrawRankRow(y[2], std::to_string(p) + ".", "YOU", SingleText(sngScore), ARGB(200, 255, 255, 255));
  if (p < 10) DrawTableRow(y[3], p + 1, p, ARGB(200, 255, 150, 150));
  if (p <= 8) DrawTableRow(y[4], p + 2, p + 1, ARGB(175, 255, 100, 100));
}

void ConfirmName() {
  if (strPlayerName.empty()) strPlayerName = "Varnel X";
  StorePendingScores();
  if (!BindPackTable()) {
    TellScoreNotStored(kTableUnreadable);
  } else if (!TableHolds(oExtra->HighScore_NewScore(sngScore, strPlayerName, {}))) {
    pendingScores.push_back({intPackSel, sngScore, strPlayerName});
    TellScoreNotStored("the high-score table could not be written; the game tries again at the next save");
  } else if (!SavePackScore(intPackSel)) {
    // The pack file gets the new table at once: nothing that happens later can lose the score.
    TellScoreNotStored("the pack file cannot be rewritten (it may be read-only, or the disk full)");
  }
  ExitToMenu();
}

void DrawNameEntryState() {
  oEngine->Draw(texBackground, 0, 0, 1024, 1024, 0, 100, 0, 0, 800, 600);
  oEngine->Draw(texSky, -100, -225, 512, 512, static_cast<float>(lngFrame / 4.0), 30, 0, 0, 1024, 1024);
  oEngine->DrawText(texFontDefault, "Please enter your name", 100, 100, 1.25f,
                    static_cast<float>(20 * std::sin(lngFrame / 10.0)), 100, 50, 150, 50);
  oEngine->DrawFont("titleL", 0, 200, 800, 50, strPlayerName, kWhite, 5);
  const screens::Size button = screens::kButtonPicture;
  oEngine->Draw(texButton, 340, 288, button.width, button.height, 0, 80);
  oEngine->DrawFont("small", 340, 288, button.width, button.height, "DONE", ARGB(255, 230, 255, 255), 5);
  const auto x = static_cast<float>(curMouse.X);
  const auto y = static_cast<float>(curMouse.Y);
  if (curMouse.B1Clicked && 340 < x && x < 460 && 288 < y && y < 313) ConfirmName();
  NameEntryParticles();
}

}  // namespace varnel
