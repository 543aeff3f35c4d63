// SPDX-License-Identifier: Zlib
#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "Jpeg.h"
#include "Level.h"
#include "TempAppFolder.h"

// The generated game folder as the data tests read it: through the engine's own archive and INI
// code, from copies in the test's application folder, so the game folder itself is never touched.
namespace datatest {

inline std::filesystem::path GameDir() {
  return VARNEL_GAME_DIR;
}

// Copies `archive` (a path in the game folder) into the application folder, opens it and
// extracts every entry into `folder` there; returns the stored short names in archive order.
std::vector<std::string> ExtractArchive(const std::filesystem::path& archive, const std::string& folder);

struct PackLevel {
  int number = 0;
  std::string caption;
  std::vector<datagen::DiffRect> rects;
  datagen::RgbImage original, modified;
  datagen::Bytes originalFile;
};

struct Pack {
  std::string file;  // "Green Valley.vnl"
  std::vector<std::string> entries;
  std::string numOfLevels, vertical, description;
  std::array<int, 3> scores{};  // the score table's rank count, extra values and rank of a first score
  std::vector<PackLevel> levels;
  bool Vertical() const { return vertical == "True"; }
};

// Decodes a music file through the engine's stream, interleaved stereo, until it ends or holds
// maxFrames; the stream's stated length in seconds goes to *duration. Empty when it does not open.
std::vector<float> DecodeMusic(const std::filesystem::path& file, int rate, size_t maxFrames,
                               double* duration = nullptr);

std::vector<std::filesystem::path> PackFiles();
// Reads a whole pack: its settings, its picture descriptions and both pictures of every level.
Pack LoadPack(const std::filesystem::path& file);

}  // namespace datatest
