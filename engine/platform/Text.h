// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "tovak2d/CodePage.h"

// Engine strings are Windows-1252 bytes; these helpers compare and trim them (tovak2d/CodePage.h
// converts them).
namespace tovak2d::text {

std::string ToUpper(std::string_view s);
std::string ToLower(std::string_view s);
bool EqualsNoCase(std::string_view a, std::string_view b);
std::string Trim(std::string_view s);  // removes surrounding blanks (spaces and tabs)

// A number rounded to a whole one, halves to even, saturated to the 32-bit range.
int32_t RoundHalfEven(double v);

}  // namespace tovak2d::text
