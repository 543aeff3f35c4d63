// SPDX-License-Identifier: Zlib
#include "TextLayout.h"

namespace tovak2d::textlayout {
namespace {

bool IsBreak(char c) {
  return c == '\r' || c == '\n';
}

int32_t Advance(const Advances& advances, char c) {
  return advances[static_cast<unsigned char>(c)];
}

// Breaks one paragraph (text without line breaks) at blanks.
void WrapParagraph(std::string_view text, uint32_t begin, uint32_t end, const Advances& advances,
                   int32_t maxWidth, std::vector<Line>& lines) {
  uint32_t lineStart = begin;
  while (lineStart < end) {
    int32_t width = 0;
    uint32_t breakAt = 0;  // the first blank after the line's last word so far; 0 for none
    int32_t widthAtBreak = 0;
    bool broken = false;
    for (uint32_t i = lineStart; i < end; ++i) {
      const char c = text[i];
      if (c == ' ') {
        if (i > lineStart && text[i - 1] != ' ') {
          breakAt = i;
          widthAtBreak = width;
        }
      } else if (breakAt != 0 && width + Advance(advances, c) > maxWidth) {
        lines.push_back({lineStart, breakAt, widthAtBreak});
        lineStart = breakAt;
        while (lineStart < end && text[lineStart] == ' ') ++lineStart;
        broken = true;
        break;
      }
      width += Advance(advances, c);
    }
    if (!broken) {
      lines.push_back({lineStart, end, width});
      return;
    }
  }
}

}  // namespace

void BreakLines(std::string_view text, const Advances& advances, int32_t maxWidth, int32_t format,
                std::vector<Line>& lines) {
  lines.clear();
  const auto size = static_cast<uint32_t>(text.size());
  if (format & kSingleLine) {
    int32_t width = 0;
    for (char c : text) width += Advance(advances, c);
    lines.push_back({0, size, width});
    return;
  }
  uint32_t pos = 0;
  while (pos < size) {
    uint32_t end = pos;
    while (end < size && !IsBreak(text[end])) ++end;
    if (end == pos) {
      lines.push_back({pos, pos, 0});
    } else if (format & kWordBreak) {
      WrapParagraph(text, pos, end, advances, maxWidth, lines);
    } else {
      int32_t width = 0;
      for (uint32_t i = pos; i < end; ++i) width += Advance(advances, text[i]);
      lines.push_back({pos, end, width});
    }
    if (end == size) break;
    pos = end + ((text[end] == '\r' && end + 1 < size && text[end + 1] == '\n') ? 2 : 1);
  }
}

int32_t LineLeft(const RECT& rect, int32_t lineWidth, int32_t format) {
  if (format & kCenter) return rect.Left + (rect.Right - rect.Left - lineWidth) / 2;
  if (format & kRight) return rect.Right - lineWidth;
  return rect.Left;
}

int32_t FirstLineTop(const RECT& rect, int32_t lineHeight, int32_t format) {
  if (!(format & kSingleLine)) return rect.Top;
  if (format & kVerticalCenter) return rect.Top + (rect.Bottom - rect.Top - lineHeight) / 2;
  if (format & kBottom) return rect.Bottom - lineHeight;
  return rect.Top;
}

}  // namespace tovak2d::textlayout
