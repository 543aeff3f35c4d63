// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <string_view>

// Names as the game gives them (Windows style, backslashes, relative to the application folder).
namespace tovak2d::paths {

// The application folder rule: a name is joined to AppPath with a backslash unless its second
// character is ':' (a drive path) or it already begins with AppPath.
std::string Resolve(std::string_view name);
bool IsRooted(std::string_view name);  // Resolve leaves such a name as it is

// The text after the last backslash; the whole name when there is none. '/' is no separator.
std::string ShortNameOf(std::string_view name);

// The text after the last '.', in lower case; empty without a dot.
std::string ExtOfName(std::string_view name);

// Creates the one folder the path names (relative to AppPath); failures are ignored.
void MakeFolder(std::string_view path);

}  // namespace tovak2d::paths
