// SPDX-License-Identifier: Zlib
#include "PackWriter.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include "CommandSupport.h"

namespace varnel::pack {
namespace {

namespace fs = std::filesystem;

constexpr int kJpegQuality = 92;
constexpr std::array<const char*, 4> kEdgeKeys = {"Left", "Right", "Top", "Bottom"};

// Each INI file starts anew: INIWrite only ever adds to what is there.
std::string FreshScratch(Session& session, const std::string& name) {
  std::error_code ignored;
  fs::remove(session.ScratchPath(name), ignored);
  return name;
}

bool WriteIni(Session& session, const std::string& section, const std::string& key, const std::string& value,
              const std::string& file, std::string* error) {
  session.TakeLog();
  if (session.extra().INIWrite(section, key, value, file) != 0) return true;
  *error = "cannot write " + key + " into the scratch copy of an INI file";
  for (const std::string& line : session.TakeLog()) *error += "\n  engine: " + line;
  return false;
}

bool WriteSettings(Session& session, const NewPack& pack, std::string* error) {
  const std::string file = FreshScratch(session, "new-packinfo.ini");
  return WriteIni(session, "General", "NumOfLevels", std::to_string(pack.levels.size()), file, error) &&
         WriteIni(session, "General", "Vertical", pack.vertical ? "True" : "False", file, error) &&
         WriteIni(session, "General", "PackInfo", pack.packInfo, file, error) &&
         WriteIni(session, "General", "Title", pack.title, file, error);
}

bool WriteLevels(Session& session, const NewPack& pack, std::string* error) {
  const std::string file = FreshScratch(session, "new-picinfo.ini");
  for (size_t i = 0; i < pack.levels.size(); ++i) {
    const NewLevel& level = pack.levels[i];
    const std::string section = std::to_string(i + 1);
    for (size_t d = 0; d < level.rects.size(); ++d) {
      const PixelRect& r = level.rects[d];
      const int edges[] = {r.left, r.right, r.top, r.bottom};
      for (size_t e = 0; e < kEdgeKeys.size(); ++e)
        if (!WriteIni(session, section, std::to_string(d + 1) + kEdgeKeys[e], std::to_string(edges[e]), file,
                      error))
          return false;
    }
    if (!WriteIni(session, section, "PicInfo", level.caption, file, error)) return false;
  }
  return true;
}

bool WriteScores(Session& session, std::string* error) {
  std::string file = FreshScratch(session, "new-hscore.ini");
  int16_t ranks = 10, values = 0;
  if (session.extra().HighScore_Create(file, ranks, values)) return true;
  *error = "cannot write an empty high-score table";
  return false;
}

bool Add(Session& session, const std::string& scratch, std::string entry, std::string* error) {
  session.TakeLog();
  if (session.extra().PAK_AddFile(scratch, entry, false)) return true;
  *error = "cannot add " + entry + " to the pack";
  for (const std::string& line : session.TakeLog()) *error += "\n  engine: " + line;
  return false;
}

bool AddPicture(Session& session, const Image& image, const std::string& jpeg, const std::string& entry,
                std::string* error) {
  const std::string scratch = "new-" + entry;
  std::string why;
  if (!jpeg.empty()) {
    errno = 0;
    std::ofstream out(session.ScratchPath(scratch), std::ios::binary);
    // The stream keeps the bytes until it is closed: a failed write shows only then.
    const bool written =
        out.write(jpeg.data(), static_cast<std::streamsize>(jpeg.size())) && (out.close(), !out.fail());
    if (!written) {
      *error = "cannot write " + entry + " to " + session.folder().string() +
               (errno != 0 ? std::string(": ") + std::strerror(errno) : std::string());
      return false;
    }
  } else if (!SaveJpeg(image, session.ScratchPath(scratch), kJpegQuality, &why)) {
    *error = "cannot encode " + entry + ": " + why;
    return false;
  }
  const bool added = Add(session, scratch, entry, error);
  std::error_code ignored;
  fs::remove(session.ScratchPath(scratch), ignored);
  return added;
}

}  // namespace

bool WritePack(Session& session, const NewPack& pack, const fs::path& out, std::string* error) {
  FileUnderConstruction build(out);
  if (!std::ofstream(build.path(), std::ios::binary)) {
    *error = "cannot write " + build.path().string() + ": " + std::strerror(errno);
    return false;
  }
  auto name = EngineName(build.path());
  if (!name) {
    *error = out.string() + ": the path holds characters the engine cannot name";
    return false;
  }
  if (!session.extra().PAK_OpenPAK(*name)) {
    *error = "cannot start the pack file " + build.path().string();
    return false;
  }
  if (!WriteSettings(session, pack, error) || !WriteLevels(session, pack, error) ||
      !WriteScores(session, error) || !Add(session, "new-packinfo.ini", "packinfo.ini", error) ||
      !Add(session, "new-hscore.ini", "hscore.ini", error) ||
      !Add(session, "new-picinfo.ini", "picinfo.ini", error))
    return false;
  for (size_t i = 0; i < pack.levels.size(); ++i) {
    const std::string n = std::to_string(i + 1);
    const NewLevel& level = pack.levels[i];
    if (!AddPicture(session, level.original, level.originalJpeg, n + ".jpg", error) ||
        !AddPicture(session, level.modified, level.modifiedJpeg, n + "x.jpg", error))
      return false;
  }
  return build.Commit(error);
}

int WriteNewPack(Session& session, const NewPack& pack, const fs::path& out) {
  std::string error;
  if (!WritePack(session, pack, out, &error)) return Fail(error);
  std::printf("wrote %s: %zu levels, %s; the game lists it as \"%s\"\n", out.string().c_str(),
              pack.levels.size(), LayoutName(pack.vertical),
              packs::DisplayName(out.filename().string()).c_str());
  return kExitOk;
}

}  // namespace varnel::pack
