// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Image.h"
#include "PackCheck.h"
#include "Session.h"

// What the subcommands share: their arguments, opening a pack, naming entries and rectangles.
namespace varnel::pack {

struct Args {
  std::vector<std::string> positional;
  std::map<std::string, std::string> values;  // "--name value" or "--name=value"
  std::set<std::string> flags;                // "--name"
  bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
  std::string Value(const std::string& name) const {
    auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
  }
};

// Nothing, with the reason in *error, for an option the command does not know, an option without
// its value, or a positional count outside minPositional..maxPositional (-1: no limit).
std::optional<Args> ParseArgs(const std::vector<std::string>& arguments,
                              const std::set<std::string>& valueOptions,
                              const std::set<std::string>& flagOptions, int minPositional, int maxPositional,
                              std::string* error);

// Why a name cannot be stored as an entry, or nothing when it can. An entry is extracted under its
// short name (after the last backslash), so the name must not lead out of a folder: no '/' or
// ':', no control characters, no empty, "." or ".." part.
std::optional<std::string> EntryNameProblem(const std::string& name);

// Opens the pack file as the engine's archive; on failure prints why and returns false.
bool OpenPack(Session& session, const std::filesystem::path& pack);

// The pixels a level's pictures have on screen.
struct ShownSize {
  int width = 0, height = 0;
};
ShownSize ShownSizeOf(bool vertical);
const char* LayoutName(bool vertical);

// ASCII letters in lower case, the rest as it is.
std::string LowerCase(std::string text);

PixelRect ToPixels(const packs::Rect& rect);
std::string Describe(const PixelRect& rect);  // "(x 10..40, y 20..50)"

// Problems with a level's rectangles as such: empty ones, ones reaching outside the picture,
// overlapping ones. Each problem starts with where.
void CheckGeometry(const std::vector<PixelRect>& rects, ShownSize size, const std::string& where,
                   std::vector<std::string>& problems);

// Extracts an entry of the open archive into the session folder and decodes it.
std::optional<Image> LoadEntry(Session& session, const std::string& entry, std::string* error);

}  // namespace varnel::pack
