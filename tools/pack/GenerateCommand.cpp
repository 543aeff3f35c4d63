// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <system_error>

#include "CommandSupport.h"
#include "Commands.h"
#include "Level.h"
#include "LevelSources.h"
#include "PackWriter.h"
#include "Themes.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

struct GenerateOptions {
  bool vertical = false;
  int levels = 0;
  uint64_t seed = 0;
  std::string theme;
  fs::path out;
  bool force = false;
};

std::optional<uint64_t> WholeNumber(const std::string& text) {
  if (text.empty() || text.size() > 19 || !std::all_of(text.begin(), text.end(), ::isdigit))
    return std::nullopt;
  return std::stoull(text);
}

std::optional<GenerateOptions> ReadOptions(const std::vector<std::string>& arguments) {
  std::string error;
  auto args = ParseArgs(arguments, {"--layout", "--levels", "--seed", "--theme"}, {"--force"}, 1, 1, &error);
  auto fail = [](const std::string& message) {
    PrintError(message);
    return std::optional<GenerateOptions>();
  };
  if (!args) return fail(error + " (see --help)");
  GenerateOptions options;
  const std::string layout = args->Value("--layout");
  if (layout != "vertical" && layout != "horizontal") return fail("--layout must be vertical or horizontal");
  options.vertical = layout == "vertical";
  auto levels = WholeNumber(args->Value("--levels"));
  if (!levels || *levels < 1 || *levels > packs::kMaxLevels)
    return fail("--levels must be a number from 1 to " + std::to_string(packs::kMaxLevels));
  options.levels = static_cast<int>(*levels);
  auto seed = WholeNumber(args->Value("--seed"));
  if (!seed) return fail("--seed must be a whole number");
  options.seed = *seed;
  options.theme = args->Value("--theme");
  options.out = args->positional[0];
  options.force = args->Has("--force");
  return options;
}

// A theme is named by its pack name or any word of it, letter case aside ("valley", "Under the Sea").
bool Named(const datagen::Theme& theme, const std::string& name) {
  const std::string full = LowerCase(theme.PackName());
  const std::string wanted = LowerCase(name);
  if (full == wanted) return true;
  for (size_t start = 0; start < full.size();) {
    size_t end = full.find(' ', start);
    if (end == std::string::npos) end = full.size();
    if (full.substr(start, end - start) == wanted) return true;
    start = end + 1;
  }
  return false;
}

// The theme asked for, or one of the layout's chosen by the seed; nothing (reported) when none fits.
std::unique_ptr<datagen::Theme> ChooseTheme(const GenerateOptions& options) {
  std::vector<std::unique_ptr<datagen::Theme>> fitting;
  std::string names;
  for (auto& theme : datagen::AllThemes()) {
    names += (names.empty() ? "" : ", ") + theme->PackName() + " (" + LayoutName(theme->Vertical()) + ")";
    if (!options.theme.empty() && Named(*theme, options.theme)) {
      if (theme->Vertical() == options.vertical) return std::move(theme);
      PrintError("the theme " + theme->PackName() + " is " + LayoutName(theme->Vertical()) + ", not " +
                 LayoutName(options.vertical));
      return nullptr;
    }
    if (theme->Vertical() == options.vertical) fitting.push_back(std::move(theme));
  }
  if (!options.theme.empty() || fitting.empty()) {
    PrintError("no theme \"" + options.theme + "\"; the themes are " + names);
    return nullptr;
  }
  return std::move(fitting[options.seed % fitting.size()]);
}

// The generator's text, for an INI value the game reads.
std::string GameText(const std::string& text) {
  std::string value = tovak2d::Utf8ToCp1252(text).value_or(text);
  if (value.size() > kMaxIniText) value.resize(kMaxIniText);
  return value;
}

}  // namespace

int RunGenerate(const std::vector<std::string>& arguments) {
  auto options = ReadOptions(arguments);
  if (const int refused = NewPackRefused(options)) return refused;
  std::unique_ptr<datagen::Theme> theme = ChooseTheme(*options);
  if (!theme) return kExitUsage;

  NewPack pack;
  pack.vertical = theme->Vertical();
  pack.title = GameText(theme->PackName());
  pack.packInfo = GameText(theme->Description());
  std::printf("generating %d %s levels of the theme %s, seed %llu\n", options->levels,
              LayoutName(pack.vertical), theme->PackName().c_str(),
              static_cast<unsigned long long>(options->seed));
  for (int n = 1; n <= options->levels; ++n) {
    std::printf("level %d of %d ...", n, options->levels);
    std::fflush(stdout);
    datagen::LevelPictures pictures;
    try {
      pictures = datagen::MakeLevel(*theme, n, options->seed);
    } catch (const std::exception& e) {
      std::printf(" failed\n");
      return Fail(std::string("the generator gave up: ") + e.what() + " (try another --seed)");
    }
    if (pictures.rects.size() != packs::kDifferencesPerLevel) {
      std::printf(" failed\n");
      return Fail("the generator made " + std::to_string(pictures.rects.size()) + " differences for level " +
                  std::to_string(n));
    }
    NewLevel level;
    level.originalJpeg.assign(pictures.original.begin(), pictures.original.end());
    level.modifiedJpeg.assign(pictures.modified.begin(), pictures.modified.end());
    for (size_t d = 0; d < level.rects.size(); ++d) {
      const datagen::DiffRect& r = pictures.rects[d];
      level.rects[d] = {r.left, r.top, r.right, r.bottom};
    }
    level.caption = GameText(pictures.caption);
    pack.levels.push_back(std::move(level));
    std::printf(" done\n");
  }

  std::string error;
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  if (!WritePack(*session, pack, options->out, &error)) return Fail(error);
  std::printf("wrote %s: %zu levels, %s\n", options->out.string().c_str(), pack.levels.size(),
              LayoutName(pack.vertical));
  return kExitOk;
}

}  // namespace varnel::pack
