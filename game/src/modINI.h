#pragma once

#include <string>

namespace varnel {

// Reads the four options (window mode, music, sound effects, particles) from the options file.
void ReadOptions(const std::string& appPath);

}  // namespace varnel
