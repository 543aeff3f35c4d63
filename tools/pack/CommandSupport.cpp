// SPDX-License-Identifier: Zlib
#include "CommandSupport.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <system_error>

#include "tovak2d/CodePage.h"

namespace varnel::pack {

std::optional<Args> ParseArgs(const std::vector<std::string>& arguments,
                              const std::set<std::string>& valueOptions,
                              const std::set<std::string>& flagOptions, int minPositional, int maxPositional,
                              std::string* error) {
  Args args;
  bool optionsEnded = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& argument = arguments[i];
    if (optionsEnded || argument.size() < 2 || argument.compare(0, 2, "--") != 0) {
      args.positional.push_back(argument);
      continue;
    }
    if (argument == "--") {
      optionsEnded = true;
      continue;
    }
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (valueOptions.count(name)) {
      if (equals != std::string::npos) {
        args.values[name] = argument.substr(equals + 1);
      } else if (i + 1 < arguments.size()) {
        args.values[name] = arguments[++i];
      } else {
        *error = name + " needs a value";
        return std::nullopt;
      }
    } else if (flagOptions.count(name) && equals == std::string::npos) {
      args.flags.insert(name);
    } else {
      *error = "unknown option " + argument;
      return std::nullopt;
    }
  }
  const auto count = static_cast<int>(args.positional.size());
  if (count < minPositional) {
    *error = "missing arguments";
    return std::nullopt;
  }
  if (maxPositional >= 0 && count > maxPositional) {
    *error = "too many arguments";
    return std::nullopt;
  }
  return args;
}

std::optional<std::string> EntryNameProblem(const std::string& name) {
  if (name.empty()) return "the name is empty";
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return "the name holds a control character";
    if (c == '/' || c == ':')
      return std::string("the name holds '") + c + "', which would lead out of a folder";
  }
  for (size_t start = 0; start <= name.size();) {
    size_t end = name.find('\\', start);
    if (end == std::string::npos) end = name.size();
    const std::string part = name.substr(start, end - start);
    if (part.empty() || part == "." || part == "..")
      return "the name holds the folder part \"" + part + "\", which would lead out of a folder";
    start = end + 1;
  }
  return std::nullopt;
}

bool OpenPack(Session& session, const std::filesystem::path& pack) {
  auto name = ExistingEngineName(pack, "pack file");
  if (!name) return false;
  if (session.extra().PAK_OpenPAK(*name)) return true;
  PrintError(pack.string() + ": the archive cannot be read");
  session.ReportLog();
  return false;
}

ShownSize ShownSizeOf(bool vertical) {
  return vertical ? ShownSize{256, 380} : ShownSize{380, 256};
}

const char* LayoutName(bool vertical) {
  return vertical ? "vertical" : "horizontal";
}

std::string LowerCase(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return std::tolower(c); });
  return text;
}

PixelRect ToPixels(const packs::Rect& rect) {
  const auto whole = [](float value) { return static_cast<int>(std::lround(value)); };
  return {whole(rect.Left), whole(rect.Top), whole(rect.Right), whole(rect.Bottom)};
}

std::string Describe(const PixelRect& rect) {
  return "(x " + std::to_string(rect.left) + ".." + std::to_string(rect.right) + ", y " +
         std::to_string(rect.top) + ".." + std::to_string(rect.bottom) + ")";
}

// A rectangle may reach the edge just past the last pixel: the game's hit area of a picture takes
// that edge in, so such a rectangle is still clickable in full.
void CheckGeometry(const std::vector<PixelRect>& rects, ShownSize size, const std::string& where,
                   std::vector<std::string>& problems) {
  for (size_t i = 0; i < rects.size(); ++i) {
    const PixelRect& r = rects[i];
    const std::string name = where + "rectangle " + std::to_string(i + 1) + " " + Describe(r);
    if (r.left > r.right || r.top > r.bottom)
      problems.push_back(name + " is empty: an edge lies beyond its opposite edge");
    else if (r.left < 0 || r.top < 0 || r.right > size.width || r.bottom > size.height)
      problems.push_back(name + " reaches outside the picture (" + std::to_string(size.width) + " x " +
                         std::to_string(size.height) + ")");
  }
  for (size_t i = 0; i < rects.size(); ++i)
    for (size_t j = i + 1; j < rects.size(); ++j) {
      const PixelRect& a = rects[i];
      const PixelRect& b = rects[j];
      if (a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom)
        problems.push_back(where + "rectangles " + std::to_string(i + 1) + " and " + std::to_string(j + 1) +
                           " overlap");
    }
}

std::optional<Image> LoadEntry(Session& session, const std::string& entry, std::string* error) {
  const std::string scratch = "entry-" + entry;
  if (!session.extra().PAK_ExtractFile(entry, scratch)) {
    *error = "cannot be extracted";
    return std::nullopt;
  }
  std::string why;
  auto image = LoadImage(session.ScratchPath(tovak2d::Cp1252ToUtf8(scratch)), &why);
  std::error_code ignored;
  std::filesystem::remove(session.ScratchPath(tovak2d::Cp1252ToUtf8(scratch)), ignored);
  if (!image) *error = "cannot be decoded (" + why + ")";
  return image;
}

}  // namespace varnel::pack
