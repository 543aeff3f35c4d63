// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Image.h"

// A player's photos as they come from cameras and phones: JPEG or PNG in any common encoding,
// turned upright by their EXIF orientation.
namespace varnel::pack {

// The JPEG and PNG files of the folder (by extension, any letter case), in name order.
std::vector<std::filesystem::path> ListPhotos(const std::filesystem::path& folder, std::string* error);

// What the file's header says, read without decoding the pixels.
struct PhotoHeader {
  bool jpeg = false;
  int width = 0, height = 0;  // as stored
  int orientation = 1;        // EXIF orientation 1..8; 5..8 swap width and height
  int UprightWidth() const { return orientation >= 5 ? height : width; }
  int UprightHeight() const { return orientation >= 5 ? width : height; }
};

// Photos larger than this many pixels are refused before they are decoded.
inline constexpr long long kMaxPhotoPixels = 60'000'000;

// The header of a JPEG or PNG file, told apart by its content rather than its name. Nothing, with
// the reason in *error, for a file that is neither, or whose picture is empty or too large.
std::optional<PhotoHeader> ReadPhotoHeader(const std::filesystem::path& file, std::string* error);

// Decodes the photo upright. A JPEG much larger than coverWidth x coverHeight is decoded at a
// reduced scale that still covers it. Nothing, with the reason in *error, when the file is damaged
// or cut short.
std::optional<Image> LoadPhoto(const std::filesystem::path& file, const PhotoHeader& header, int coverWidth,
                               int coverHeight, std::string* error);

// Walks a PNG file's chunks and checks each one's length and checksum up to the end chunk. The
// PNG decoder is handed only files that pass: some broken files make it warn in an endless loop.
bool PngIntact(const std::filesystem::path& file, std::string* error);

// Turns a picture by an EXIF orientation (1..8).
Image Orient(const Image& image, int orientation);

}  // namespace varnel::pack
