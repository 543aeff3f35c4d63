// SPDX-License-Identifier: Zlib
#include <algorithm>
#include <cstdio>
#include <system_error>

#include "CommandSupport.h"
#include "Commands.h"
#include "tovak2d/CodePage.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

constexpr int kMargin = 12;
constexpr int kGap = 6;  // between the two pictures of a pair
constexpr int kLabelHeight = 22;
constexpr int kDigitScale = 3;
constexpr Colour kBackground = {40, 40, 48};
constexpr Colour kLabel = {230, 230, 230};
constexpr Colour kRectangle = {255, 40, 40};
constexpr Colour kBroken = {120, 30, 30};

struct Sheet {
  Image image;
  ShownSize picture;
  int columns = 1;

  Sheet(ShownSize size, bool vertical, int levels)
      : picture(size), columns(std::min(levels, vertical ? 3 : 2)) {
    const int rows = (levels + columns - 1) / columns;
    image = Image(kMargin + columns * (CellWidth() + kMargin), kMargin + rows * (CellHeight() + kMargin),
                  kBackground);
  }
  int CellWidth() const { return 2 * picture.width + kGap; }
  int CellHeight() const { return kLabelHeight + picture.height; }
  int X(int index) const { return kMargin + (index % columns) * (CellWidth() + kMargin); }
  int Y(int index) const { return kMargin + (index / columns) * (CellHeight() + kMargin); }
};

// One level's pair with its rectangles on both pictures; false when a picture cannot be shown.
bool DrawLevel(Session& session, const packs::LevelInfo& level, Sheet& sheet, int index) {
  const int x = sheet.X(index), y = sheet.Y(index);
  DrawNumber(sheet.image, x, y, level.number, kDigitScale, kLabel);
  const int top = y + kLabelHeight;
  if (!level.complete) {
    FillRect(sheet.image, {x, top, x + sheet.CellWidth() - 1, top + sheet.picture.height - 1}, kBroken);
    return false;
  }
  bool shown = true;
  const std::string* entries[2] = {&level.originalEntry, &level.modifiedEntry};
  for (int i = 0; i < 2; ++i) {
    const int left = x + i * (sheet.picture.width + kGap);
    std::string error;
    auto picture = LoadEntry(session, *entries[i], &error);
    if (!picture) {
      PrintError("level " + std::to_string(level.number) + ": " + *entries[i] + " " + error);
      FillRect(sheet.image, {left, top, left + sheet.picture.width - 1, top + sheet.picture.height - 1},
               kBroken);
      shown = false;
      continue;
    }
    // A picture of another size is fitted to its place, so the sheet still shows what it holds.
    Image fitted = ScaleToCover(*picture, sheet.picture.width, sheet.picture.height);
    for (const packs::Rect& rect : level.rects) DrawOutline(fitted, ToPixels(rect), kRectangle, 2);
    Blit(sheet.image, fitted, left, top);
  }
  return shown;
}

}  // namespace

int RunPreview(const std::vector<std::string>& arguments) {
  std::string error;
  auto args = ParseArgs(arguments, {}, {}, 2, 2, &error);
  if (!args) {
    PrintError(error + " (see --help)");
    return kExitUsage;
  }
  const fs::path pack = args->positional[0];
  const fs::path out = args->positional[1];
  auto session = Session::Start(&error);
  if (!session) return Fail(error);
  std::error_code ec;
  auto name = EngineName(pack);
  if (!fs::is_regular_file(pack, ec) || !name) return Fail(pack.string() + ": no such pack file");

  packs::PackReport report = packs::CheckPack(session->extra(), *name, "preview-", session->folder());
  for (const std::string& problem : report.problems) PrintError("warning: " + tovak2d::Cp1252ToUtf8(problem));
  if (report.levels.empty()) return Fail(pack.string() + ": no level to show");
  if (!session->extra().PAK_OpenPAK(*name)) return Fail(pack.string() + ": the archive cannot be read");

  Sheet sheet(ShownSizeOf(report.vertical), report.vertical, static_cast<int>(report.levels.size()));
  int shown = 0;
  for (size_t i = 0; i < report.levels.size(); ++i)
    shown += DrawLevel(*session, report.levels[i], sheet, static_cast<int>(i)) ? 1 : 0;

  FileUnderConstruction build(out);
  if (!SavePng(sheet.image, build.path(), &error) || !build.Commit(&error))
    return Fail(out.string() + ": " + error);
  std::printf("wrote %s: %d of %zu levels shown\n", out.string().c_str(), shown, report.levels.size());
  return kExitOk;
}

}  // namespace varnel::pack
