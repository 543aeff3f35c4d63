// SPDX-License-Identifier: Zlib
#pragma once

#include <stdlib.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "LittleEndian.h"

// Whole files as the tests read and write them, archives laid out as the engine stores them, and
// programs run under a time limit.
namespace testsupport {

// A fresh folder for one test, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-test-XXXXXX").string();
    path_ = mkdtemp(pattern.data());
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

 private:
  std::filesystem::path path_;
};

// An uncompressed bitmap of 24 bits (alpha dropped) or 32 (alpha kept in the fourth byte, plain BI_RGB);
// argb(x, y) gives each pixel.
template <class Pixels>
std::string Bmp(int width, int height, int bits, const Pixels& argb) {
  const auto w = static_cast<uint32_t>(width), h = static_cast<uint32_t>(height),
             depth = static_cast<uint32_t>(bits);
  const uint32_t rowBytes = (w * depth / 8 + 3) & ~3u;
  std::string out =
      "BM" + Le32({54 + rowBytes * h, 0, 54, 40, w, h}) + Le16({1, depth}) + Le32({0, 0, 0, 0, 0, 0});
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x)
      for (int shift = 0; shift < bits; shift += 8) out += static_cast<char>((argb(x, y) >> shift) & 0xFF);
    out.append(rowBytes - w * depth / 8, '\0');
  }
  return out;
}

// The file's bytes; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

// Writes the bytes as the whole file, making its folder first.
inline void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
  std::error_code ignored;
  std::filesystem::create_directories(path.parent_path(), ignored);
  std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

using ArchiveEntries = std::vector<std::pair<std::string, std::string>>;

inline const std::string kSplitMarker = "`*[S-P-L-I-T]*`!";
inline const std::string kHereMarker = "`*[H-E-R-E]*`!";

// Entries as adding files leaves them: a split marker, the stored name, a here marker, the bytes.
inline std::string AppendedArchive(const ArchiveEntries& entries) {
  std::string out;
  for (const auto& [name, contents] : entries) out += kSplitMarker + name + kHereMarker + contents;
  return out;
}

// Entries as deleting one rewrites the rest: the stored name, a here marker, the bytes, a split marker.
inline std::string RewrittenArchive(const ArchiveEntries& entries) {
  std::string out;
  for (const auto& [name, contents] : entries) out += name + kHereMarker + contents + kSplitMarker;
  return out;
}

// The entry's contents replaced, or the entry removed.
inline void SetEntry(ArchiveEntries& entries, const std::string& name, const std::string& contents) {
  for (auto& [entryName, entryContents] : entries)
    if (entryName == name) entryContents = contents;
}
inline void RemoveEntry(ArchiveEntries& entries, const std::string& name) {
  std::erase_if(entries, [&](const auto& entry) { return entry.first == name; });
}

// A pack's settings and an empty high-score table, as packs store them.
inline std::string PackInfo(const std::string& levels, const std::string& vertical,
                            const std::string& info = "") {
  return "[General]\r\nNumOfLevels=" + levels + "\r\nVertical=" + vertical + "\r\nPackInfo=" + info + "\r\n";
}
inline const std::string kEmptyScores = "[setup]\r\nTopX=10\r\nadditionalValues=0\r\n";

// The four edge keys of difference n in a picinfo.ini section.
inline std::string RectKeys(int n, const std::string& left, const std::string& right, const std::string& top,
                            const std::string& bottom) {
  const std::string k = std::to_string(n);
  return k + "Left=" + left + "\r\n" + k + "Right=" + right + "\r\n" + k + "Top=" + top + "\r\n" + k +
         "Bottom=" + bottom + "\r\n";
}

struct ArchiveEntry {
  std::string name;
  std::string contents;
};

// The entries of an archive by the format's one reading rule: pieces between split markers, each
// holding a name, a here marker and the contents. Nothing when the file cannot be read. Written
// apart from the engine's reader, so that a fault there cannot hide itself.
inline std::optional<std::vector<ArchiveEntry>> ReadArchive(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  std::vector<ArchiveEntry> entries;
  for (size_t begin = 0; begin <= bytes.size();) {
    size_t end = bytes.find(kSplitMarker, begin);
    if (end == std::string::npos) end = bytes.size();
    const std::string piece = bytes.substr(begin, end - begin);
    const size_t mark = piece.find(kHereMarker);
    if (mark != std::string::npos) {
      const size_t start = mark + kHereMarker.size(), next = piece.find(kHereMarker, start);
      entries.push_back({piece.substr(0, mark),
                         piece.substr(start, next == std::string::npos ? std::string::npos : next - start)});
    }
    begin = end + kSplitMarker.size();
  }
  return entries;
}

// The text quoted for the shell.
inline std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return quoted + "'";
}

// Runs a shell command with a time limit, its output thrown away; true when it succeeded.
inline bool RunCommand(const std::string& command, int seconds = 60) {
  const std::string line =
      "timeout " + std::to_string(seconds) + " sh -c " + Quote(command) + " >/dev/null 2>&1";
  return std::system(line.c_str()) == 0;
}

// The loudest sample from first up to end, taking every step-th (2: one side of interleaved stereo).
inline float Peak(const std::vector<float>& out, size_t first = 0, size_t step = 1, size_t end = SIZE_MAX) {
  float peak = 0;
  for (size_t i = first; i < std::min(end, out.size()); i += step) peak = std::max(peak, std::fabs(out[i]));
  return peak;
}

// Names that lead out of a folder, as a hostile pack or a careless caller spells them, made with
// stem. A reader that keeps only the short name after the last backslash finds the first
// kShortNamesInside inside the folder (as stem-up.txt, stem-drive.txt and stem-unc.txt); the others
// have no name of their own there. Stricter readers refuse them all.
inline constexpr size_t kShortNamesInside = 3;
inline std::vector<std::string> NamesLeadingOut(const std::string& stem) {
  std::vector<std::string> names = {"..\\..\\" + stem + "-up.txt", "C:\\Windows\\" + stem + "-drive.txt",
                                    "\\\\server\\share\\" + stem + "-unc.txt"};
  for (const char* folder : {"../", "/tmp/", "C:/", "C:"}) names.push_back(folder + stem + ".txt");
  names.insert(names.end(), {stem + "\\..", "C:\\", ".."});
  return names;
}

inline bool Contains(const std::string& haystack, const std::string& needle) {
  return haystack.find(needle) != std::string::npos;
}

struct ToolRun {
  int status = -1;  // -1: ended by a signal or by the time limit's kill
  std::string out;
  std::string err;
};

// Runs the program with the arguments in folder, under a time limit so that no test can hang;
// prefix goes before the program (e.g. "env NAME=value"). Its output is kept beside the folder.
inline ToolRun RunTool(const std::string& program, const std::vector<std::string>& arguments,
                       const std::filesystem::path& folder, const std::string& prefix = "") {
  const std::string output = folder.string() + ".run";
  std::string command =
      "cd " + Quote(folder.string()) + " && timeout -k 5 120 " + prefix + " " + Quote(program);
  for (const std::string& argument : arguments) command += " " + Quote(argument);
  command += " >" + Quote(output + ".out") + " 2>" + Quote(output + ".err");
  const int raw = std::system(command.c_str());
  ToolRun run;
  run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  run.out = ReadFile(output + ".out");
  run.err = ReadFile(output + ".err");
  std::error_code ignored;
  std::filesystem::remove(output + ".out", ignored);
  std::filesystem::remove(output + ".err", ignored);
  return run;
}

}  // namespace testsupport
