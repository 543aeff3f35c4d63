// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "Image.h"
#include "PackCheck.h"
#include "Session.h"

namespace varnel::pack {

// A level ready to be stored: both pictures at the shown size, its five rectangles and its caption
// (Windows-1252, "[e]" for line breaks). Pictures that come already as JPEG files are stored as they
// are; the others are encoded.
struct NewLevel {
  Image original;
  Image modified;
  std::string originalJpeg;
  std::string modifiedJpeg;
  std::array<PixelRect, packs::kDifferencesPerLevel> rects{};
  std::string caption;
};

struct NewPack {
  bool vertical = false;
  std::string title;     // Windows-1252
  std::string packInfo;  // Windows-1252, "[e]" for line breaks
  std::vector<NewLevel> levels;
};

// Writes the pack file out, replacing what is there: packinfo.ini, hscore.ini with an empty table of
// ten ranks, picinfo.ini and the pictures as JPEG files of quality 92. The pack is built beside out
// and renamed over it at the end, so a failure leaves no half-written pack. False, with the reason
// in *error, on failure.
bool WritePack(Session& session, const NewPack& pack, const std::filesystem::path& out, std::string* error);

// WritePack for a command that made a new pack, then its report on standard output: the file, its
// levels and layout, and the name the game lists the pack under. The command's exit status.
int WriteNewPack(Session& session, const NewPack& pack, const std::filesystem::path& out);

}  // namespace varnel::pack
