// SPDX-License-Identifier: Zlib
#include <cstdio>
#include <system_error>

#include "CommandSupport.h"
#include "Commands.h"
#include "DiffMeasure.h"
#include "LevelSources.h"
#include "PackWriter.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

struct MakeOptions {
  bool vertical = false;
  std::string title;     // Windows-1252
  std::string packInfo;  // Windows-1252
  fs::path folder;
  fs::path out;
  fs::path rectsFile;
  bool force = false;
};

std::optional<MakeOptions> ReadOptions(const std::vector<std::string>& arguments) {
  std::string error;
  auto args = ParseArgs(arguments, {"--layout", "--title", "--info", "--rects"}, {"--force"}, 2, 2, &error);
  if (!args) {
    PrintError(error + " (see --help)");
    return std::nullopt;
  }
  MakeOptions options;
  const std::string layout = args->Value("--layout");
  if (layout != "vertical" && layout != "horizontal") {
    PrintError("--layout must be vertical or horizontal");
    return std::nullopt;
  }
  options.vertical = layout == "vertical";
  if (args->Value("--title").empty()) {
    PrintError("--title is needed");
    return std::nullopt;
  }
  auto title = IniText(args->Value("--title"), &error);
  // The description the game shows under the pack starts with the title.
  const std::string info = args->Value("--info");
  auto packInfo = title ? IniText(args->Value("--title") + (info.empty() ? "" : "\n" + info), &error) : title;
  if (!title || !packInfo) {
    PrintError("--title/--info: " + error);
    return std::nullopt;
  }
  options.title = *title;
  options.packInfo = *packInfo;
  options.folder = args->positional[0];
  options.out = args->positional[1];
  options.rectsFile = args->Value("--rects");
  options.force = args->Has("--force");
  return options;
}

std::string ListRects(const std::vector<PixelRect>& rects) {
  std::string list;
  for (const PixelRect& rect : rects) list += (list.empty() ? "" : ", ") + Describe(rect);
  return list;
}

std::optional<Image> Load(const fs::path& file, const std::string& where,
                          std::vector<std::string>& problems) {
  std::string why;
  auto image = LoadImage(file, &why);
  if (!image) problems.push_back(where + file.filename().string() + " cannot be decoded (" + why + ")");
  return image;
}

// Pictures, rectangles and caption of one level, or nothing with the reasons in problems.
std::optional<NewLevel> BuildLevel(const SourceLevel& source, const HandRects* hand, ShownSize size,
                                   std::vector<std::string>& problems) {
  const std::string where = "level " + std::to_string(source.number) + ": ";
  auto original = Load(source.original, where, problems);
  auto modified = Load(source.modified, where, problems);
  if (!original || !modified) return std::nullopt;
  if (original->width != modified->width || original->height != modified->height) {
    problems.push_back(where + source.original.filename().string() + " is " +
                       std::to_string(original->width) + " x " + std::to_string(original->height) +
                       " pixels but " + source.modified.filename().string() + " is " +
                       std::to_string(modified->width) + " x " + std::to_string(modified->height) +
                       "; the two pictures of a pair must have the same size");
    return std::nullopt;
  }
  NewLevel level;
  level.original = ScaleToCover(*original, size.width, size.height);
  level.modified = ScaleToCover(*modified, size.width, size.height);

  std::string how;
  if (hand && hand->rects) {
    const std::vector<PixelRect> rects(hand->rects->begin(), hand->rects->end());
    const size_t before = problems.size();
    CheckGeometry(rects, size, where, problems);
    if (problems.size() != before) return std::nullopt;
    // Rectangles given by hand are the maker's word; a measurement that disagrees is only a warning.
    const DiffSettings settings;
    const Measurement measured = Measure(level.original, level.modified, rects, settings);
    for (size_t i = 0; i < rects.size(); ++i)
      if (measured.pixelsInside[i] < settings.minPixels)
        PrintError("warning: " + where + "rectangle " + std::to_string(i + 1) + " " + Describe(rects[i]) +
                   " holds no visible difference");
    for (const PixelRect& stray : measured.outside)
      PrintError("warning: " + where + "the pictures differ outside every rectangle at " + Describe(stray));
    level.rects = *hand->rects;
    how = "rectangles given by hand";
  } else {
    const std::vector<PixelRect> found = FindDifferences(level.original, level.modified);
    if (found.size() != level.rects.size()) {
      problems.push_back(where +
                         (found.empty() ? std::string("the pictures do not differ")
                                        : "found " + std::to_string(found.size()) +
                                              (found.size() == 1 ? " difference" : " separate differences") +
                                              ", not 5: " + ListRects(found)) +
                         "; give the five rectangles by hand with --rects FILE");
      return std::nullopt;
    }
    std::copy(found.begin(), found.end(), level.rects.begin());
    how = "5 differences found: " + ListRects(found);
  }

  if (hand && !hand->caption.empty()) {
    level.caption = hand->caption;
  } else if (!source.caption.empty()) {
    std::string error;
    auto caption = ReadCaption(source.caption, &error);
    if (!caption) {
      problems.push_back(where + error);
      return std::nullopt;
    }
    level.caption = *caption;
  }
  std::printf("%s%s + %s, %s\n", where.c_str(), source.original.filename().string().c_str(),
              source.modified.filename().string().c_str(), how.c_str());
  return level;
}

}  // namespace

int RunMake(const std::vector<std::string>& arguments) {
  auto options = ReadOptions(arguments);
  if (const int refused = NewPackRefused(options)) return refused;

  std::vector<std::string> problems;
  const std::vector<SourceLevel> sources = ScanLevels(options->folder, &problems);
  std::string error;
  auto session = problems.empty() ? Session::Start(&error) : nullptr;
  if (problems.empty() && !session) return Fail(error);

  std::map<int, HandRects> hand;
  if (session && !options->rectsFile.empty())
    hand = ReadHandRects(*session, options->rectsFile, static_cast<int>(sources.size()), &problems);

  NewPack pack;
  pack.vertical = options->vertical;
  pack.title = options->title;
  pack.packInfo = options->packInfo;
  if (problems.empty()) {
    for (const SourceLevel& source : sources) {
      auto given = hand.find(source.number);
      auto level = BuildLevel(source, given == hand.end() ? nullptr : &given->second,
                              ShownSizeOf(options->vertical), problems);
      if (level) pack.levels.push_back(std::move(*level));
    }
  }
  if (!problems.empty()) {
    for (const std::string& problem : problems) PrintError(problem);
    return Fail("nothing written");
  }
  return WriteNewPack(*session, pack, options->out);
}

}  // namespace varnel::pack
