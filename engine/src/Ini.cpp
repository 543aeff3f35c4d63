// SPDX-License-Identifier: Zlib
#include "Ini.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "Paths.h"
#include "modExtra.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tovak2d/Extra.h"
#include "tovak2d/IniBatch.h"

namespace tovak2d::modExtra {
namespace {

// The longest value a read returns: the Windows read buffer holds 255 characters with the NUL.
constexpr size_t kMaxValueLength = 254;

enum class LineKind { kOther, kSection, kKey };

// One line of the file as it stands, so that a write can keep every other line byte for byte.
struct IniLine {
  size_t begin = 0;
  size_t end = 0;  // past the line break, when there is one
  bool terminated = false;
  LineKind kind = LineKind::kOther;
  std::string name;   // section or key name, trimmed
  std::string value;  // the key's value, trimmed
};

IniLine ParseLine(std::string_view content) {
  IniLine line;
  std::string trimmed = text::Trim(content);
  // Blank lines and comments belong to no key and never match.
  if (trimmed.empty() || trimmed.front() == ';') return line;
  size_t close = trimmed.rfind(']');
  if (trimmed.front() == '[' && close != std::string::npos) {
    line.kind = LineKind::kSection;
    line.name = text::Trim(std::string_view(trimmed).substr(1, close - 1));
    return line;
  }
  line.kind = LineKind::kKey;
  size_t equals = trimmed.find('=');
  line.name = text::Trim(std::string_view(trimmed).substr(0, equals));
  if (equals != std::string::npos) line.value = text::Trim(std::string_view(trimmed).substr(equals + 1));
  return line;
}

// Lines end with LF or CR LF.
std::vector<IniLine> SplitLines(std::string_view text) {
  std::vector<IniLine> lines;
  size_t begin = 0;
  while (begin < text.size()) {
    size_t newline = text.find('\n', begin);
    size_t contentEnd = newline == std::string_view::npos ? text.size() : newline;
    size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    if (contentEnd > begin && text[contentEnd - 1] == '\r') --contentEnd;
    IniLine line = ParseLine(text.substr(begin, contentEnd - begin));
    line.begin = begin;
    line.end = end;
    line.terminated = newline != std::string_view::npos;
    lines.push_back(std::move(line));
    begin = end;
  }
  return lines;
}

// Where a key is, or where it would go.
struct Place {
  std::optional<size_t> section;  // the first section of that name
  std::optional<size_t> key;      // its first key of that name
  size_t lastLineOfKeys = 0;      // the section's last key line, or its header without keys
};

// from: a line at or before the first section of that name, where the search may start.
Place Find(const std::vector<IniLine>& lines, std::string_view section, std::string_view key,
           size_t from = 0) {
  Place place;
  std::string wantedSection = text::Trim(section), wantedKey = text::Trim(key);
  for (size_t i = from; i < lines.size(); ++i) {
    if (!place.section) {
      if (lines[i].kind == LineKind::kSection && text::EqualsNoCase(lines[i].name, wantedSection)) {
        place.section = i;
        place.lastLineOfKeys = i;
      }
      continue;
    }
    if (lines[i].kind == LineKind::kSection) break;
    if (lines[i].kind != LineKind::kKey) continue;
    place.lastLineOfKeys = i;
    if (!place.key && text::EqualsNoCase(lines[i].name, wantedKey)) place.key = i;
  }
  return place;
}

// What ends a line added after the file's last line when that one has no line break: a file cut
// off between CR and LF gets the LF it lacks, since a CR of its own would stay in the last value.
std::string_view BreakAfter(std::string_view text) {
  return !text.empty() && text.back() == '\r' ? "\n" : "\r\n";
}

// Windows drops one pair of matching quotes around a value.
std::string Unquoted(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// A line break (or a NUL, where Windows' text ends) would break the file's layout: the text is
// cut there.
std::string OneLine(const std::string& text) {
  return text.substr(0, text.find_first_of(std::string("\r\n\0", 3)));
}

// The files read last, parsed. Games read many keys of one file in a row (a pack's level table has
// twenty a level) and a screen reads a few files every frame. A file is parsed again only when its
// bytes differ from the copy's; it is not even read again while its stamp (device, inode, size,
// change time) is the one it had when read and this process has changed no file since.
struct ParsedFile {
  std::string path;
  std::string contents;
  std::vector<IniLine> lines;
  std::unordered_map<std::string, size_t> sections;  // upper-cased name: its first header line
  std::optional<platform::files::FileStamp> stamp;   // none: read it again next time
  uint64_t generation = 0;
};

constexpr size_t kFilesKept = 8;

// The files read last, and the IniReadBatch objects alive, which let a read trust them.
struct ReadCache {
  std::vector<ParsedFile> recent;  // the most recently used last
  int batchesOpen = 0;
};

ReadCache& Cache() {
  static ReadCache cache;
  return cache;
}

const ParsedFile* Parsed(const std::string& path) {
  namespace files = platform::files;
  std::vector<ParsedFile>& recent = Cache().recent;
  auto cached =
      std::find_if(recent.begin(), recent.end(), [&](const ParsedFile& f) { return f.path == path; });
  const uint64_t generation = files::WriteGeneration();
  if (Cache().batchesOpen > 0 && cached != recent.end() && cached->stamp &&
      cached->generation == generation) {
    std::rotate(cached, cached + 1, recent.end());
    return &recent.back();
  }
  const std::optional<files::FileStamp> before = files::StampOf(path);
  if (cached != recent.end() && cached->stamp && before && cached->stamp == before &&
      cached->generation == generation) {
    std::rotate(cached, cached + 1, recent.end());
    return &recent.back();
  }
  files::FileStamp after;
  std::optional<std::string> contents = files::ReadWhole(path, nullptr, &after);
  if (!contents) return nullptr;
  // A file that changed while it was read is trusted only until the next call.
  const std::optional<files::FileStamp> stamp =
      before && *before == after ? before : std::optional<files::FileStamp>();
  if (cached != recent.end() && cached->contents == *contents) {
    cached->stamp = stamp;
    cached->generation = generation;
    std::rotate(cached, cached + 1, recent.end());
    return &recent.back();
  }
  if (cached != recent.end()) recent.erase(cached);
  if (recent.size() == kFilesKept) recent.erase(recent.begin());
  ParsedFile& file = recent.emplace_back();
  file.path = path;
  file.lines = SplitLines(*contents);
  for (size_t i = 0; i < file.lines.size(); ++i)
    if (file.lines[i].kind == LineKind::kSection)
      file.sections.try_emplace(text::ToUpper(file.lines[i].name), i);
  file.contents = std::move(*contents);
  file.stamp = stamp;
  file.generation = generation;
  return &file;
}

}  // namespace

std::string ReadIniValue(const std::string& section, const std::string& key, const std::string& fileName,
                         bool decode) {
  const ParsedFile* parsed = Parsed(paths::Resolve(fileName));
  if (!parsed) return {};
  const std::vector<IniLine>& lines = parsed->lines;
  const std::string sectionName = OneLine(section);
  auto header = parsed->sections.find(text::ToUpper(text::Trim(sectionName)));
  if (header == parsed->sections.end()) return {};
  Place place = Find(lines, sectionName, OneLine(key), header->second);
  if (!place.key) return {};
  // A CR or NUL inside a value ends it, as every write ends it there: a value read and written back
  // reads the same.
  std::string value = Unquoted(text::Trim(OneLine(lines[*place.key].value))).substr(0, kMaxValueLength);
  return decode ? XorText(value, kIniCodeByte) : value;
}

namespace {

// The file's text with one key set: only the key's line changes, or the key (and its section) is
// added.
std::string WithKey(const std::string& old, const std::string& section, const std::string& key,
                    const std::string& value) {
  std::string sectionName = OneLine(section), keyName = OneLine(key), newValue = OneLine(value);
  std::vector<IniLine> lines = SplitLines(old);
  Place place = Find(lines, sectionName, keyName);

  std::string updated;
  if (place.key) {
    const IniLine& line = lines[*place.key];
    updated.append(old, 0, line.begin).append(line.name).append("=").append(newValue).append("\r\n");
    updated.append(old, line.end);
  } else if (place.section) {
    const IniLine& after = lines[place.lastLineOfKeys];
    updated.append(old, 0, after.end);
    if (!after.terminated) updated.append(BreakAfter(updated));
    updated.append(keyName).append("=").append(newValue).append("\r\n");
    updated.append(old, after.end);
  } else {
    updated = old;
    if (!updated.empty() && updated.back() != '\n') updated.append(BreakAfter(updated));
    updated.append("[").append(sectionName).append("]\r\n");
    updated.append(keyName).append("=").append(newValue).append("\r\n");
  }
  return updated;
}

// The file as a chain of lines that writes change in place or add to, so that a run of writes
// costs one parse however many keys it adds.
class LineChain {
 public:
  explicit LineChain(const std::string& text) {
    std::string section;
    bool firstOfItsName = false;
    for (const IniLine& line : SplitLines(text)) {
      const size_t id = Append(text.substr(line.begin, line.end - line.begin), line.terminated);
      if (line.kind == LineKind::kSection) {
        section = text::ToUpper(line.name);
        firstOfItsName = lastKeyLine_.try_emplace(section, id).second;
      } else if (line.kind == LineKind::kKey && firstOfItsName) {
        lastKeyLine_[section] = id;
        keyLines_.try_emplace(section + "\n" + text::ToUpper(line.name), KeyLine{id, line.name});
      }
    }
  }

  // Sets one key as WithKey would on the text so far; false, with nothing changed, for a key or
  // section name whose added line would not read back as that key (a name holding '=', ']', a
  // leading ';' and the like), which WithKey then handles.
  bool Set(const IniWrite& write) {
    const std::string sectionName = OneLine(write.section), keyName = OneLine(write.key);
    const std::string section = text::ToUpper(text::Trim(sectionName));
    const std::string key = text::ToUpper(text::Trim(keyName));
    const std::string value = OneLine(write.value);
    if (auto found = keyLines_.find(section + "\n" + key); found != keyLines_.end()) {
      const std::string content = found->second.name + "=" + value;
      if (!ReadsAsKey(content, key)) return false;
      lines_[found->second.id].text = content + "\r\n";
      lines_[found->second.id].terminated = true;
      return true;
    }
    const std::string newLine = keyName + "=" + value + "\r\n";
    const IniLine added = ParseLine(keyName + "=" + value);
    if (!ReadsAsKey(keyName + "=" + value, key)) return false;
    if (auto header = lastKeyLine_.find(section); header != lastKeyLine_.end()) {
      const size_t id = InsertAfter(header->second, newLine);
      header->second = id;
      keyLines_.try_emplace(section + "\n" + key, KeyLine{id, added.name});
      return true;
    }
    const IniLine heading = ParseLine("[" + sectionName + "]");
    if (heading.kind != LineKind::kSection || text::ToUpper(heading.name) != section) return false;
    const size_t headerId = InsertAfter(last_, "[" + sectionName + "]\r\n");
    const size_t id = InsertAfter(headerId, newLine);
    lastKeyLine_.emplace(section, id);
    keyLines_.try_emplace(section + "\n" + key, KeyLine{id, added.name});
    return true;
  }

  std::string Text() const {
    std::string out;
    for (size_t id = first_; id != kNone; id = lines_[id].next) out += lines_[id].text;
    return out;
  }

 private:
  static constexpr size_t kNone = static_cast<size_t>(-1);

  static bool ReadsAsKey(const std::string& content, const std::string& upperKey) {
    const IniLine line = ParseLine(content);
    return line.kind == LineKind::kKey && text::ToUpper(line.name) == upperKey;
  }

  struct Line {
    std::string text;
    bool terminated = true;
    size_t next = kNone;
  };
  struct KeyLine {
    size_t id;
    std::string name;  // as the line has it, trimmed
  };

  size_t Append(std::string text, bool terminated) {
    lines_.push_back({std::move(text), terminated, kNone});
    const size_t id = lines_.size() - 1;
    if (last_ == kNone)
      first_ = id;
    else
      lines_[last_].next = id;
    last_ = id;
    return id;
  }

  // A line added after the file's last line, when that one has no line break, first gives it one.
  size_t InsertAfter(size_t after, std::string text) {
    if (after == kNone) return Append(std::move(text), true);
    Line& before = lines_[after];
    if (!before.terminated) {
      before.text += BreakAfter(before.text);
      before.terminated = true;
    }
    lines_.push_back({std::move(text), true, before.next});
    const size_t id = lines_.size() - 1;
    lines_[after].next = id;
    if (last_ == after) last_ = id;
    return id;
  }

  std::vector<Line> lines_;
  size_t first_ = kNone, last_ = kNone;
  std::unordered_map<std::string, size_t> lastKeyLine_;  // upper-cased section: its last key line
  std::unordered_map<std::string, KeyLine> keyLines_;    // upper-cased section, LF, key
};

// The text with every write set in order, as that many WithKey calls would give it.
std::string WithKeys(const std::string& old, const std::vector<IniWrite>& writes) {
  LineChain chain(old);
  size_t next = 0;
  while (next < writes.size() && chain.Set(writes[next])) ++next;
  if (next == writes.size()) return chain.Text();
  std::string updated = chain.Text();
  for (; next < writes.size(); ++next)
    updated = WithKey(updated, writes[next].section, writes[next].key, writes[next].value);
  return updated;
}

}  // namespace

int16_t WriteIniValues(const std::vector<IniWrite>& writes, const std::string& fileName, std::string* error) {
  std::string path = paths::Resolve(fileName);
  std::string old;
  if (platform::files::Exists(path)) {
    // An existing file that cannot be read must not be replaced by one holding only these keys.
    std::optional<std::string> contents = platform::files::ReadWhole(path, error);
    if (!contents) return 0;
    old = std::move(*contents);
  }
  // Keys already in the file change in place, a run at a time; a key that is not adds its line
  // (and section) as a single write would.
  const std::string updated = WithKeys(old, writes);
  if (updated == old && !old.empty()) return 1;
  // Written beside the old file and renamed over it: the high-score tables live in these files.
  return platform::files::ReplaceWhole(path, updated, error, false) ? 1 : 0;
}

int16_t WriteIniValue(const std::string& section, const std::string& key, const std::string& value,
                      const std::string& fileName) {
  return WriteIniValues({{section, key, value}}, fileName);
}

std::string XorText(const std::string& text, uint8_t key) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(static_cast<unsigned char>(c) ^ key);
  return out;
}

}  // namespace tovak2d::modExtra

namespace tovak2d {

std::string Extra::INIRead(const std::string& Section, const std::string& KeyName,
                           const std::string& FileName, bool Decrypt) {
  return modExtra::ReadIniValue(Section, KeyName, FileName, Decrypt);
}

int16_t Extra::INIWrite(const std::string& Section, const std::string& KeyName, const std::string& NewString,
                        const std::string& FileName, bool Encrypt) {
  std::string value = Encrypt ? EnDeCode(NewString, modExtra::kIniCodeByte) : NewString;
  std::string error;
  if (modExtra::WriteIniValues({{Section, KeyName, value}}, FileName, &error)) return 1;
  // A failed write is logged with its cause; before the engine has a folder there is no log to
  // write to, and the caller has the 0.
  if (!modExtra::AppPath.empty() && !error.empty())
    SaveLog("Error in INIWrite : " + FileName + " (" + Utf8ToCp1252Lossy(error) + ")");
  return 0;
}

std::string Extra::EnDeCode(const std::string& strOld, uint8_t bcode) {
  return modExtra::XorText(strOld, bcode);
}

IniReadBatch::IniReadBatch() {
  ++modExtra::Cache().batchesOpen;
}

IniReadBatch::~IniReadBatch() {
  --modExtra::Cache().batchesOpen;
}

}  // namespace tovak2d
