#pragma once

#include <optional>
#include <string>
#include <string_view>

// The engine keeps names and INI text as Windows-1252 bytes; the command line and the terminal speak
// UTF-8. These convert at that edge.
namespace varnel::pack {

// Nothing when the text holds a character Windows-1252 cannot hold, or is not valid UTF-8.
std::optional<std::string> Utf8ToCp1252(std::string_view utf8);
std::string Cp1252ToUtf8(std::string_view text);

}  // namespace varnel::pack
