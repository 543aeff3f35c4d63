// SPDX-License-Identifier: Zlib
#include <cstdio>
#include <system_error>

#include "CommandSupport.h"
#include "Commands.h"
#include "LevelSources.h"
#include "PackWriter.h"
#include "PhotoFiles.h"
#include "PhotoLevel.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

struct PhotosOptions {
  std::string layout;  // "vertical", "horizontal" or empty: from the photos
  std::string title;   // UTF-8 as given; empty: the folder's name
  std::string info;
  Difficulty difficulty = Difficulty::kNormal;
  uint32_t seed = 1;
  fs::path folder;
  fs::path out;
  bool force = false;
};

std::optional<PhotosOptions> ReadOptions(const std::vector<std::string>& arguments) {
  std::string error;
  auto args = ParseArgs(arguments, {"--layout", "--title", "--info", "--difficulty", "--seed"}, {"--force"},
                        2, 2, &error);
  if (!args) {
    PrintError(error + " (see --help)");
    return std::nullopt;
  }
  PhotosOptions options;
  options.layout = args->Value("--layout");
  if (!options.layout.empty() && options.layout != "vertical" && options.layout != "horizontal") {
    PrintError("--layout must be vertical or horizontal");
    return std::nullopt;
  }
  const std::string difficulty = args->Value("--difficulty");
  if (difficulty == "easy") {
    options.difficulty = Difficulty::kEasy;
  } else if (difficulty == "hard") {
    options.difficulty = Difficulty::kHard;
  } else if (!difficulty.empty() && difficulty != "normal") {
    PrintError("--difficulty must be easy, normal or hard");
    return std::nullopt;
  }
  const std::string seed = args->Value("--seed");
  if (!seed.empty()) {
    size_t used = 0;
    unsigned long value = 0;
    try {
      value = std::stoul(seed, &used);
    } catch (const std::exception&) {
      used = 0;
    }
    if (used != seed.size() || seed[0] == '-' || value > 0xFFFFFFFFUL) {
      PrintError("--seed must be a whole number from 0 to 4294967295");
      return std::nullopt;
    }
    options.seed = static_cast<uint32_t>(value);
  }
  options.folder = args->positional[0];
  options.out = args->positional[1];
  options.title = args->Value("--title");
  if (options.title.empty()) {
    fs::path folder = fs::absolute(options.folder).lexically_normal();
    if (!folder.has_filename()) folder = folder.parent_path();  // "photos/" names the folder too
    options.title = folder.filename().string();
  }
  if (options.title.empty()) options.title = "My photos";
  options.info = args->Value("--info");
  options.force = args->Has("--force");
  return options;
}

struct UsablePhoto {
  fs::path file;
  PhotoHeader header;
};

// The caption of a level: the photo's name without its extension, "_" and "-" read as spaces.
std::string Caption(const fs::path& file) {
  std::string name = file.stem().string();
  for (char& c : name)
    if (c == '_' || c == '-') c = ' ';
  if (name.size() > kMaxIniText) name.resize(kMaxIniText);
  std::string error;
  auto text = IniText(name, &error);
  return text ? *text : std::string();
}

std::string KindList(const PhotoLevel& level) {
  std::string list;
  for (EditKind kind : level.kinds) list += (list.empty() ? "" : ", ") + std::string(EditName(kind));
  return list;
}

}  // namespace

int RunPhotos(const std::vector<std::string>& arguments) {
  auto options = ReadOptions(arguments);
  if (const int refused = NewPackRefused(options)) return refused;
  std::string error;
  auto title = IniText(options->title, &error);
  auto packInfo =
      title ? IniText(options->title + (options->info.empty() ? "" : "\n" + options->info), &error) : title;
  if (!title || !packInfo) return Fail("--title/--info: " + error);

  const std::vector<fs::path> files = ListPhotos(options->folder, &error);
  if (!error.empty()) return Fail(error);

  // Headers first: they name the unusable files at once and tell the layout.
  std::vector<UsablePhoto> usable;
  int upright = 0;
  for (const fs::path& file : files) {
    std::string why;
    auto header = ReadPhotoHeader(file, &why);
    if (!header) {
      PrintError(file.filename().string() + ": skipped, " + why);
      continue;
    }
    upright += header->UprightHeight() > header->UprightWidth() ? 1 : -1;
    usable.push_back({file, *header});
  }
  // Without --layout the photos choose: the layout most of them fit.
  const bool vertical = options->layout.empty() ? upright > 0 : options->layout == "vertical";
  const ShownSize size = ShownSizeOf(vertical);

  NewPack pack;
  pack.vertical = vertical;
  pack.title = *title;
  pack.packInfo = *packInfo;
  for (size_t i = 0; i < usable.size(); ++i) {
    const std::string name = usable[i].file.filename().string();
    const std::string where =
        "photo " + std::to_string(i + 1) + "/" + std::to_string(usable.size()) + " " + name;
    const PhotoHeader& header = usable[i].header;
    if (pack.levels.size() == static_cast<size_t>(packs::kMaxLevels)) {
      PrintError(where + ": skipped, a pack holds at most " + std::to_string(packs::kMaxLevels) + " levels");
      continue;
    }
    // Enlarging more than twice would show blur and blocks rather than a photo.
    if (header.UprightWidth() * 2 < size.width || header.UprightHeight() * 2 < size.height) {
      PrintError(where + ": skipped, too small (" + std::to_string(header.UprightWidth()) + " x " +
                 std::to_string(header.UprightHeight()) + " pixels; the " + LayoutName(vertical) +
                 " layout needs at least " + std::to_string(size.width / 2) + " x " +
                 std::to_string(size.height / 2) + ")");
      continue;
    }
    std::string why;
    auto photo = LoadPhoto(usable[i].file, header, size.width, size.height, &why);
    if (!photo) {
      PrintError(where + ": skipped, cannot be read (" + why + ")");
      continue;
    }
    const Image fitted = ScaleToCover(*photo, size.width, size.height);
    // Each photo has its own stream of random numbers, so one photo more or less in the folder
    // leaves the others' differences as they were.
    uint32_t photoSeed = options->seed;
    for (char c : name) photoSeed = photoSeed * 16777619U ^ static_cast<unsigned char>(c);
    auto level = MakePhotoLevel(fitted, options->difficulty, photoSeed, &why);
    if (!level) {
      PrintError(where + ": skipped, " + why);
      continue;
    }
    NewLevel stored;
    stored.originalJpeg = std::move(level->originalJpeg);
    stored.modifiedJpeg = std::move(level->modifiedJpeg);
    stored.rects = level->rects;
    stored.caption = Caption(usable[i].file);
    pack.levels.push_back(std::move(stored));
    std::fprintf(stderr, "%s: level %zu, 5 differences (%s)\n", where.c_str(), pack.levels.size(),
                 KindList(*level).c_str());
  }
  if (pack.levels.empty())
    return Fail("no usable photo in " + options->folder.string() + "; nothing written");

  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  return WriteNewPack(*session, pack, options->out);
}

}  // namespace varnel::pack
