#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// Engine strings are Windows-1252 bytes; these helpers compare, trim and convert them.
namespace tovak2d::text {

std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);  // removes surrounding blanks (spaces and tabs)

std::string Cp1252ToUtf8(std::string_view s);
// Characters that Windows-1252 cannot hold become '?'.
std::string Utf8ToCp1252(std::string_view s);

// A number rounded to a whole one, halves to even, saturated to the 32-bit range.
int32_t RoundHalfEven(double v);

}  // namespace tovak2d::text
