#pragma once

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

// Whole files as the tests read and write them, and archives laid out as the engine stores them.
namespace testsupport {

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

}  // namespace testsupport
