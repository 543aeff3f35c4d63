// SPDX-License-Identifier: Zlib
#include <cstdio>
#include <fstream>
#include <system_error>

#include "CommandSupport.h"
#include "Commands.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

constexpr int16_t kRanks = 10;

std::optional<Args> Parse(const std::vector<std::string>& arguments,
                          const std::set<std::string>& flags = {}) {
  std::string error;
  auto args = ParseArgs(arguments, {}, flags, 1, 1, &error);
  if (!args) PrintError(error + " (see --help)");
  return args;
}

}  // namespace

int RunScores(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments);
  if (!args) return kExitUsage;
  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!OpenPack(*session, args->positional[0])) return kExitFailure;

  tovak2d::Extra& extra = session->extra();
  if (!extra.PAK_ExtractFile("hscore.ini", "scores.ini"))
    return Fail(args->positional[0] + ": the pack holds no high-score table (hscore.ini)");
  std::string file = "scores.ini";
  int16_t ranks = kRanks, values = 0;
  if (!extra.HighScore_Create(file, ranks, values)) {
    PrintError(args->positional[0] + ": the high-score table cannot be read");
    session->ReportLog();
    return kExitFailure;
  }
  std::printf("Rank  Score       Name\n");
  for (int16_t rank = 1; rank <= ranks; ++rank) {
    const float score = extra.HighScore_GetScore(rank);
    const std::string name = tovak2d::Cp1252ToUtf8(extra.HighScore_GetName(rank));
    if (score == 0 && name.empty())
      std::printf("%4d  -\n", rank);
    else
      std::printf("%4d  %-10.7g  %s\n", rank, static_cast<double>(score), name.c_str());
  }
  return kExitOk;
}

int RunResetScores(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments, {"--force"});
  if (!args) return kExitUsage;
  const fs::path pack = args->positional[0];
  if (!MayWrite(pack, args->Has("--force"))) return kExitFailure;
  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!OpenPack(*session, pack)) return kExitFailure;

  // The table keeps its shape: the number of ranks and extra values of the old one, when it reads.
  tovak2d::Extra& extra = session->extra();
  int16_t ranks = kRanks, values = 0;
  if (extra.PAK_ExtractFile("hscore.ini", "old.ini")) {
    std::string old = "old.ini";
    int16_t oldRanks = kRanks, oldValues = 0;
    if (extra.HighScore_Create(old, oldRanks, oldValues)) {
      ranks = oldRanks;
      values = oldValues;
    }
  }
  std::string fresh = "fresh.ini";
  if (!extra.HighScore_Create(fresh, ranks, values)) {
    PrintError("cannot write an empty high-score table");
    session->ReportLog();
    return kExitFailure;
  }

  // Removing the old table and adding the new one are two steps: they happen on a copy, which
  // replaces the pack only when both succeeded.
  FileUnderConstruction build(pack);
  std::error_code ec;
  fs::copy_file(pack, build.path(), fs::copy_options::overwrite_existing, ec);
  if (ec) return Fail("cannot copy " + pack.string() + ": " + ec.message());
  if (!OpenPack(*session, build.path())) return kExitFailure;
  std::string entryName = "hscore.ini";
  if (!extra.PAK_DeleteFile("hscore.ini") || !extra.PAK_AddFile("fresh.ini", entryName, false)) {
    PrintError("cannot replace the high-score table of " + pack.string());
    session->ReportLog();
    return kExitFailure;
  }
  if (!build.Commit(&error)) return Fail(error);
  std::printf("%s: the high-score table is empty (%d ranks)\n", pack.string().c_str(), ranks);
  return kExitOk;
}

}  // namespace varnel::pack
