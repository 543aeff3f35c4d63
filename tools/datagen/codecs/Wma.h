// SPDX-License-Identifier: Zlib
#pragma once

#include <filesystem>

#include "Files.h"
#include "Wav.h"

namespace datagen {

// WMA works in blocks of this many frames. Its decoders drop the first block of a stream (the
// encoder's look-ahead) and pad the last one with silence.
inline constexpr int kWmaBlock = 2048;

// Encodes a looping piece as Windows Media Audio 2 at 128 kbit/s with FFmpeg's encoder, in
// bit-exact mode so the same sound always gives the same file. The piece's own last block is put
// in front for the decoder to drop, so decoding starts exactly at the piece's first frame; a
// piece a whole number of blocks long then also ends exactly at its last frame. Uses `scratch`
// for the two files it needs.
Bytes EncodeWma(const Pcm& pcm, const std::filesystem::path& scratch);

// Runs a program with its arguments, killing it after `timeoutSeconds`; returns its exit code
// (-1 when it could not start, was killed or timed out).
int RunProgram(const std::vector<std::string>& argv, int timeoutSeconds);

}  // namespace datagen
