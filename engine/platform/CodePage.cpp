// SPDX-License-Identifier: Zlib
#include "tovak2d/CodePage.h"

#include <cstdint>

namespace tovak2d {
namespace {

// Unicode code points of Windows-1252 bytes 0x80-0x9F; 0 where the byte has no character.
constexpr char16_t kHighTable[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char32_t CodePointOf(unsigned char c) {
  if (c >= 0x80 && c < 0xA0) {
    char16_t cp = kHighTable[c - 0x80];
    return cp ? cp : c;  // a byte without a character stands for the C1 control of its value
  }
  return c;
}

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {  // every character of the code page lies below U+10000
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

// The byte of a code point; -1 when Windows-1252 has none.
int ByteOf(char32_t cp) {
  if (cp < 0x80 || (cp >= 0xA0 && cp < 0x100)) return static_cast<int>(cp);
  for (int i = 0; i < 32; ++i)
    if (kHighTable[i] == cp) return 0x80 + i;
  if (cp >= 0x80 && cp < 0xA0 && kHighTable[cp - 0x80] == 0) return static_cast<int>(cp);
  return -1;
}

// The code point of the UTF-8 character at s[i] and its length in bytes; length 0 when s[i]
// does not start a whole character.
struct Decoded {
  char32_t cp = 0;
  size_t length = 0;
};

Decoded DecodeAt(std::string_view s, size_t i) {
  const auto lead = static_cast<unsigned char>(s[i]);
  const size_t length = lead < 0x80         ? 1
                        : (lead >> 5) == 6  ? 2
                        : (lead >> 4) == 14 ? 3
                        : (lead >> 3) == 30 ? 4
                                            : 0;
  if (length == 0 || i + length > s.size()) return {};
  char32_t cp = length == 1 ? lead : (lead & (0x7F >> length));
  for (size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(s[i + k]);
    if ((next & 0xC0) != 0x80) return {};
    cp = (cp << 6) | (next & 0x3F);
  }
  return {cp, length};
}

}  // namespace

std::string Cp1252ToUtf8(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (unsigned char c : Text) AppendUtf8(out, CodePointOf(c));
  return out;
}

std::optional<std::string> Utf8ToCp1252(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const Decoded d = DecodeAt(Text, i);
    const int byte = d.length ? ByteOf(d.cp) : -1;
    if (byte < 0) return std::nullopt;
    out += static_cast<char>(byte);
    i += d.length;
  }
  return out;
}

std::string Utf8ToCp1252Lossy(std::string_view Text) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size();) {
    const Decoded d = DecodeAt(Text, i);
    if (d.length == 0) {  // not UTF-8: the byte as it is
      out += Text[i++];
      continue;
    }
    const int byte = ByteOf(d.cp);
    out += byte < 0 ? '?' : static_cast<char>(byte);
    i += d.length;
  }
  return out;
}

}  // namespace tovak2d
