// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <map>
#include <system_error>

#include "CommandSupport.h"
#include "Commands.h"
#include "tovak2d/ArchiveLookup.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

std::optional<Args> Parse(const std::vector<std::string>& arguments, const std::set<std::string>& flags,
                          int min, int max) {
  std::string error;
  auto args = ParseArgs(arguments, {}, flags, min, max, &error);
  if (!args) PrintError(error + " (see --help)");
  return args;
}

// The name an entry gets when none is given: the file's own name.
std::optional<std::string> EntryNameFor(const fs::path& file, const std::string& given) {
  auto name = tovak2d::Utf8ToCp1252(given.empty() ? file.filename().string() : given);
  if (!name) PrintError((given.empty() ? file.filename().string() : given) + ": not a Windows-1252 name");
  return name;
}

bool CheckedName(const std::string& name) {
  if (auto problem = EntryNameProblem(name)) {
    PrintError("cannot store \"" + tovak2d::Cp1252ToUtf8(name) + "\": " + *problem);
    return false;
  }
  return true;
}

std::string ShortName(const std::string& name) {
  const size_t slash = name.rfind('\\');
  return slash == std::string::npos ? name : name.substr(slash + 1);
}

bool AddOne(Session& session, const fs::path& file, std::string name) {
  auto source = ExistingEngineName(file, "file");
  if (!source) return false;
  session.TakeLog();
  if (session.extra().PAK_AddFile(*source, name, false)) return true;
  // A refused duplicate is the one failure the engine does not log.
  std::vector<std::string> reasons = session.TakeLog();
  if (reasons.empty()) {
    PrintError("the pack already holds an entry named \"" + tovak2d::Cp1252ToUtf8(ShortName(name)) + "\"");
    return false;
  }
  PrintError("cannot add " + file.string() + " as \"" + tovak2d::Cp1252ToUtf8(name) + "\"");
  for (const std::string& line : reasons) std::fprintf(stderr, "varnel-pack:   engine: %s\n", line.c_str());
  return false;
}

}  // namespace

int RunList(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments, {}, 1, 1);
  if (!args) return kExitUsage;
  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!OpenPack(*session, args->positional[0])) return kExitFailure;

  // The engine hands entries out only by extraction, so the listing is of a scratch extraction.
  const int count = session->extra().PAK_FileCount();
  const bool allWritten = session->extra().PAK_ExtractAll("listing");
  std::vector<std::pair<std::string, std::uintmax_t>> entries;
  std::error_code ec;
  for (const auto& item : fs::directory_iterator(session->ScratchPath("listing"), ec))
    if (item.is_regular_file()) entries.emplace_back(item.path().filename().string(), item.file_size());
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
    return LowerCase(a.first) != LowerCase(b.first) ? LowerCase(a.first) < LowerCase(b.first)
                                                    : a.first < b.first;
  });
  std::uintmax_t total = 0;
  for (const auto& [name, size] : entries) {
    std::printf("%10ju  %s\n", size, name.c_str());
    total += size;
  }
  std::printf("%d entries, %ju bytes\n", count, total);
  if (!allWritten || static_cast<int>(entries.size()) != count) {
    PrintError(std::to_string(count - static_cast<int>(entries.size())) +
               " entries are not listed: their names lead out of a folder or repeat another name");
    session->ReportLog();
    return kExitFailure;
  }
  return kExitOk;
}

int RunExtract(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments, {}, 1, 2);
  if (!args) return kExitUsage;
  const fs::path pack = args->positional[0];
  fs::path folder = args->positional.size() > 1 ? fs::path(args->positional[1])
                                                : fs::path(packs::DisplayName(pack.filename().string()));
  if (folder.empty()) folder = "pack";
  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!OpenPack(*session, pack)) return kExitFailure;

  std::error_code ec;
  fs::create_directories(folder, ec);
  auto target = EngineName(folder);
  if (ec || !target) {
    PrintError(folder.string() + ": cannot make the folder" + (ec ? ": " + ec.message() : std::string()));
    return kExitFailure;
  }
  if (!session->extra().PAK_ExtractAll(*target)) {
    PrintError("not every entry was extracted into " + folder.string());
    session->ReportLog();
    return kExitFailure;
  }
  std::printf("extracted %d entries into %s\n", session->extra().PAK_FileCount(), folder.string().c_str());
  return kExitOk;
}

int RunAdd(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments, {"--force"}, 2, 3);
  if (!args) return kExitUsage;
  if (!MayWrite(args->positional[0], args->Has("--force"))) return kExitFailure;
  const fs::path file = args->positional[1];
  auto name = EntryNameFor(file, args->positional.size() > 2 ? args->positional[2] : std::string());
  if (!name || !CheckedName(*name)) return kExitFailure;
  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!OpenPack(*session, args->positional[0])) return kExitFailure;
  return AddOne(*session, file, *name) ? kExitOk : kExitFailure;
}

int RunDelete(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments, {"--force"}, 2, 2);
  if (!args) return kExitUsage;
  if (!MayWrite(args->positional[0], args->Has("--force"))) return kExitFailure;
  auto name = tovak2d::Utf8ToCp1252(args->positional[1]);
  if (!name) return Fail(args->positional[1] + ": not a Windows-1252 name");
  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!OpenPack(*session, args->positional[0])) return kExitFailure;

  tovak2d::Extra& extra = session->extra();
  const int before = extra.PAK_FileCount();
  // Deleting a name the pack lacks would still rewrite it; look first, without writing anything.
  const bool present = tovak2d::PAK_HoldsEntry(*name);
  if (present && !extra.PAK_DeleteFile(*name)) {
    PrintError("cannot rewrite " + args->positional[0]);
    session->ReportLog();
    return kExitFailure;
  }
  if (!present || extra.PAK_FileCount() == before) {
    PrintError("the pack holds no entry named \"" + args->positional[1] + "\"");
    return kExitFailure;
  }
  return kExitOk;
}

int RunCreate(const std::vector<std::string>& arguments) {
  auto args = Parse(arguments, {"--force"}, 2, -1);
  if (!args) return kExitUsage;
  const fs::path pack = args->positional[0];
  std::error_code ec;
  if (fs::exists(pack, ec) && !args->Has("--force")) {
    PrintError(pack.string() + " already exists (use add, or --force to replace it)");
    return kExitFailure;
  }
  if (!MayWrite(pack, args->Has("--force"))) return kExitFailure;
  // Every name is checked before anything is written.
  std::vector<std::pair<fs::path, std::string>> files;
  std::map<std::string, std::string> seen;
  for (size_t i = 1; i < args->positional.size(); ++i) {
    const fs::path file = args->positional[i];
    auto name = EntryNameFor(file, "");
    if (!name || !CheckedName(*name)) return kExitFailure;
    auto [it, added] = seen.emplace(LowerCase(*name), file.string());
    if (!added) {
      PrintError(file.string() + " and " + it->second + " would both be stored as \"" +
                 tovak2d::Cp1252ToUtf8(*name) + "\"");
      return kExitFailure;
    }
    files.emplace_back(file, *name);
  }

  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  FileUnderConstruction build(pack);
  if (!std::ofstream(build.path(), std::ios::binary)) return Fail("cannot write " + build.path().string());
  if (!OpenPack(*session, build.path())) return kExitFailure;
  for (const auto& [file, name] : files)
    if (!AddOne(*session, file, name)) return kExitFailure;
  if (!build.Commit(&error)) return Fail(error);
  std::printf("created %s with %zu entries\n", pack.string().c_str(), files.size());
  return kExitOk;
}

}  // namespace varnel::pack
