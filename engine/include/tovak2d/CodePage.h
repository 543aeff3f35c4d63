// SPDX-License-Identifier: Zlib
#pragma once

/// @file
/// Cp1252ToUtf8, Utf8ToCp1252: the engine's text (Windows-1252) to and from UTF-8.

#include <optional>
#include <string>
#include <string_view>

#include "tovak2d/Export.h"

namespace tovak2d {

/// Windows-1252 text as UTF-8, the way the engine names files on disk and passes text to the
/// desktop.
///
/// Every byte has a form: the five bytes the code page leaves without a character (0x81, 0x8D,
/// 0x8F, 0x90 and 0x9D) become the control characters of the same value (U+0081, ...), so
/// Utf8ToCp1252 gives the same bytes back.
/// @param Text Windows-1252 text.
/// @return the text in UTF-8.
TOVAK2D_API std::string Cp1252ToUtf8(std::string_view Text);

/// UTF-8 text as Windows-1252, when it has that form.
/// @param Text UTF-8 text.
/// @return the Windows-1252 bytes; nothing when the text is not UTF-8 or holds a character that
///         Windows-1252 cannot hold (the control characters U+0081, U+008D, U+008F, U+0090 and
///         U+009D become the bytes of the same value, as Cp1252ToUtf8 makes them).
TOVAK2D_API std::optional<std::string> Utf8ToCp1252(std::string_view Text);

/// UTF-8 text as Windows-1252, never failing: for names found on disk, which need not be UTF-8.
/// @param Text UTF-8 text.
/// @return the text as Utf8ToCp1252 gives it, except that a character Windows-1252 cannot hold
///         becomes `?` and a byte that does not start a whole UTF-8 character is kept as it is.
TOVAK2D_API std::string Utf8ToCp1252Lossy(std::string_view Text);

}  // namespace tovak2d
