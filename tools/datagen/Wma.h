#pragma once

#include <filesystem>

#include "Files.h"
#include "Wav.h"

namespace datagen {

// Encodes the sound as Windows Media Audio 2 at 128 kbit/s with FFmpeg's encoder, in bit-exact
// mode so the same sound always gives the same file. Uses `scratch` for the two files it needs.
Bytes EncodeWma(const Pcm& pcm, const std::filesystem::path& scratch);

// Runs a program with its arguments, killing it after `timeoutSeconds`; returns its exit code
// (-1 when it could not start, was killed or timed out).
int RunProgram(const std::vector<std::string>& argv, int timeoutSeconds);

}  // namespace datagen
