// SPDX-License-Identifier: Zlib
#include "PhotoFiles.h"

// clang-format off
#include <cstdio>
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

#include <algorithm>
#include <array>
#include <csetjmp>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <system_error>

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

std::string LowerExtension(const fs::path& file) {
  std::string extension = file.extension().string();
  for (char& c : extension) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return extension;
}

std::string ReadStart(const fs::path& file, size_t limit) {
  std::ifstream in(file, std::ios::binary);
  std::string bytes(limit, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(limit));
  bytes.resize(static_cast<size_t>(in.gcount()));
  return bytes;
}

unsigned Byte(const std::string& data, size_t at) {
  return static_cast<unsigned char>(data[at]);
}

// The orientation tag of an EXIF block ("Exif\0\0" and a TIFF structure); 1 when it has none.
int ExifOrientation(const std::string& exif) {
  if (exif.size() < 14 || exif.compare(0, 6, std::string("Exif\0\0", 6)) != 0) return 1;
  const std::string tiff = exif.substr(6);
  const bool little = tiff[0] == 'I' && tiff[1] == 'I';
  if (!little && !(tiff[0] == 'M' && tiff[1] == 'M')) return 1;
  auto read16 = [&](size_t at) -> unsigned {
    if (at + 2 > tiff.size()) return 0;
    return little ? Byte(tiff, at) | Byte(tiff, at + 1) << 8 : Byte(tiff, at) << 8 | Byte(tiff, at + 1);
  };
  auto read32 = [&](size_t at) -> size_t {
    if (at + 4 > tiff.size()) return 0;
    return little ? size_t{read16(at)} | size_t{read16(at + 2)} << 16
                  : size_t{read16(at)} << 16 | size_t{read16(at + 2)};
  };
  const size_t ifd = read32(4);
  if (ifd == 0 || ifd + 2 > tiff.size()) return 1;
  const unsigned count = read16(ifd);
  for (unsigned i = 0; i < count; ++i) {
    const size_t entry = ifd + 2 + i * 12;
    if (entry + 12 > tiff.size()) break;
    if (read16(entry) == 0x0112) {
      const unsigned value = read16(entry + 8);
      return value >= 1 && value <= 8 ? static_cast<int>(value) : 1;
    }
  }
  return 1;
}

// Walks the JPEG markers up to the first scan: the frame's size and the EXIF orientation.
bool ReadJpegHeader(const std::string& data, PhotoHeader& header) {
  size_t at = 2;
  while (at + 4 <= data.size()) {
    if (Byte(data, at) != 0xFF) return false;
    const unsigned marker = Byte(data, at + 1);
    if (marker == 0xFF) {
      ++at;
      continue;
    }
    const size_t length = Byte(data, at + 2) << 8 | Byte(data, at + 3);
    if (length < 2) return false;
    const size_t body = at + 4;
    const bool frame = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
    if (frame) {
      if (body + 5 > data.size()) return false;
      header.height = static_cast<int>(Byte(data, body + 1) << 8 | Byte(data, body + 2));
      header.width = static_cast<int>(Byte(data, body + 3) << 8 | Byte(data, body + 4));
      return true;
    }
    if (marker == 0xE1 && header.orientation == 1)
      header.orientation = ExifOrientation(data.substr(body, std::min(length - 2, data.size() - body)));
    if (marker == 0xDA) return false;  // a scan before any frame
    at = body + length - 2;
  }
  return false;
}

// libjpeg reports errors by calling a function that must not return; it jumps back instead.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
  bool cutShort;
};

void OnJpegError(j_common_ptr info) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  info->err->format_message(info, errors->message);
  std::longjmp(errors->jump, 1);
}

void OnJpegMessage(j_common_ptr info, int level) {
  auto* errors = reinterpret_cast<JpegErrors*>(info->err);
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) errors->cutShort = true;
}

// CMYK as JPEG stores it; files with an Adobe marker (most of them) hold the inks inverted.
void CmykToRgb(const uint8_t* cmyk, uint8_t* rgb, int width, bool inverted) {
  for (int x = 0; x < width; ++x, cmyk += 4, rgb += 3) {
    const int k = inverted ? cmyk[3] : 255 - cmyk[3];
    for (int c = 0; c < 3; ++c) {
      const int ink = inverted ? cmyk[c] : 255 - cmyk[c];
      rgb[c] = static_cast<uint8_t>((ink * k + 127) / 255);
    }
  }
}

// Kept free of objects with destructors: a decoding error jumps back out of libjpeg to here.
bool DecodeJpegFile(std::FILE* file, int scaleDenominator, Image& image, std::string& error) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnJpegError;
  errors.manager.emit_message = OnJpegMessage;
  errors.cutShort = false;
  errors.message[0] = '\0';
  std::vector<uint8_t>* row = new std::vector<uint8_t>;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    delete row;
    error = errors.message;
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_stdio_src(&info, file);
  jpeg_read_header(&info, TRUE);
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  info.out_color_space = cmyk ? JCS_CMYK : JCS_RGB;
  info.scale_num = 1;
  info.scale_denom = static_cast<unsigned>(scaleDenominator);
  jpeg_start_decompress(&info);
  image = Image(static_cast<int>(info.output_width), static_cast<int>(info.output_height));
  row->resize(static_cast<size_t>(info.output_width) * static_cast<size_t>(info.output_components));
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row->data()};
    jpeg_read_scanlines(&info, rows, 1);
    if (cmyk)
      CmykToRgb(row->data(), image.At(0, y), image.width, info.saw_Adobe_marker);
    else
      std::copy(row->begin(), row->end(), image.At(0, y));
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  delete row;
  if (errors.cutShort) {
    error = "the file is cut short";
    return false;
  }
  return true;
}

uint32_t Crc32(const std::string& data, size_t from, size_t length) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFU;
  for (size_t i = from; i < from + length; ++i) crc = table[(crc ^ Byte(data, i)) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFU;
}

uint32_t Read32(const std::string& data, size_t at) {
  return static_cast<uint32_t>(Byte(data, at) << 24 | Byte(data, at + 1) << 16 | Byte(data, at + 2) << 8 |
                               Byte(data, at + 3));
}

}  // namespace

bool PngIntact(const fs::path& file, std::string* error) {
  std::ifstream in(file, std::ios::binary);
  const std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  bool pixels = false;
  for (size_t at = 8; at + 12 <= data.size();) {
    const size_t length = Read32(data, at);
    if (length > data.size() - at - 12) break;
    const std::string type = data.substr(at + 4, 4);
    if (Crc32(data, at + 4, length + 4) != Read32(data, at + 8 + length)) {
      *error = "the file is damaged (the checksum of its " + type + " chunk is wrong)";
      return false;
    }
    if (type == "IDAT") pixels = true;
    if (type == "IEND") {
      if (pixels) return true;
      break;
    }
    at += length + 12;
  }
  *error = "the file is cut short";
  return false;
}

std::vector<fs::path> ListPhotos(const fs::path& folder, std::string* error) {
  std::vector<fs::path> photos;
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) {
    *error = folder.string() + ": no such folder";
    return photos;
  }
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string extension = LowerExtension(it->path());
    if ((extension == ".jpg" || extension == ".jpeg" || extension == ".png") && it->is_regular_file(ec))
      photos.push_back(it->path());
  }
  if (ec) *error = folder.string() + ": " + ec.message();
  std::sort(photos.begin(), photos.end(), [](const fs::path& a, const fs::path& b) {
    return a.filename().string() < b.filename().string();
  });
  return photos;
}

std::optional<PhotoHeader> ReadPhotoHeader(const fs::path& file, std::string* error) {
  // The EXIF block sits at the start and is at most 64 KB; the frame header follows it.
  if (!std::ifstream(file, std::ios::binary)) {
    *error = "cannot be opened";
    return std::nullopt;
  }
  const std::string start = ReadStart(file, 256 * 1024);
  PhotoHeader header;
  const std::string pngSignature("\x89PNG\r\n\x1a\n", 8);
  if (start.size() >= 24 && start.compare(0, 8, pngSignature) == 0 && start.compare(12, 4, "IHDR") == 0) {
    header.width = static_cast<int>(Byte(start, 16) << 24 | Byte(start, 17) << 16 | Byte(start, 18) << 8 |
                                    Byte(start, 19));
    header.height = static_cast<int>(Byte(start, 20) << 24 | Byte(start, 21) << 16 | Byte(start, 22) << 8 |
                                     Byte(start, 23));
  } else if (start.size() >= 4 && Byte(start, 0) == 0xFF && Byte(start, 1) == 0xD8) {
    header.jpeg = true;
    if (!ReadJpegHeader(start, header)) {
      *error = "the JPEG header is damaged or cut short";
      return std::nullopt;
    }
  } else {
    *error = start.empty() ? "the file is empty" : "not a JPEG or PNG picture";
    return std::nullopt;
  }
  if (header.width <= 0 || header.height <= 0) {
    *error = "the picture is empty";
    return std::nullopt;
  }
  if (static_cast<long long>(header.width) * header.height > kMaxPhotoPixels) {
    *error = "too large (" + std::to_string(header.width) + " x " + std::to_string(header.height) +
             " pixels; at most " + std::to_string(kMaxPhotoPixels / 1'000'000) + " megapixels)";
    return std::nullopt;
  }
  return header;
}

std::optional<Image> LoadPhoto(const fs::path& file, const PhotoHeader& header, int coverWidth,
                               int coverHeight, std::string* error) {
  Image stored;
  if (header.jpeg) {
    // libjpeg scales by 1/2, 1/4 or 1/8 while decoding, far cheaper than decoding in full.
    int denominator = 8;
    while (denominator > 1 && (header.UprightWidth() / denominator < coverWidth ||
                               header.UprightHeight() / denominator < coverHeight))
      denominator /= 2;
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(file.c_str(), "rb"), std::fclose);
    if (!in) {
      *error = "cannot be opened";
      return std::nullopt;
    }
    if (!DecodeJpegFile(in.get(), denominator, stored, *error)) return std::nullopt;
  } else {
    if (!PngIntact(file, error)) return std::nullopt;
    auto loaded = LoadImage(file, error);
    if (!loaded) return std::nullopt;
    stored = std::move(*loaded);
  }
  return Orient(stored, header.orientation);
}

Image Orient(const Image& image, int orientation) {
  if (orientation <= 1 || orientation > 8) return image;
  const int w = image.width, h = image.height;
  const bool swap = orientation >= 5;
  Image out(swap ? h : w, swap ? w : h);
  for (int y = 0; y < out.height; ++y)
    for (int x = 0; x < out.width; ++x) {
      int sx = x, sy = y;
      switch (orientation) {
        case 2:
          sx = w - 1 - x;
          break;
        case 3:
          sx = w - 1 - x, sy = h - 1 - y;
          break;
        case 4:
          sy = h - 1 - y;
          break;
        case 5:
          sx = y, sy = x;
          break;
        case 6:
          sx = y, sy = h - 1 - x;
          break;
        case 7:
          sx = w - 1 - y, sy = h - 1 - x;
          break;
        default:
          sx = w - 1 - y, sy = x;
          break;  // 8
      }
      std::copy_n(image.At(sx, sy), 3, out.At(x, y));
    }
  return out;
}

}  // namespace varnel::pack
