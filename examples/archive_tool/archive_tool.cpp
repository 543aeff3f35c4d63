// SPDX-License-Identifier: Zlib
// A command-line program on Extra alone: it makes an archive, adds files to it and extracts
// them, reads and writes INI keys, and keeps a high-score table.
//
//   archive_tool FOLDER NAME SCORE
//
// works inside FOLDER (every relative file name of the engine is taken from the folder it was
// started on; log.txt lands there too) and enters SCORE under NAME into FOLDER/scores.ini.
#include <tovak2d/Engine.h>
#include <tovak2d/Extra.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: archive_tool FOLDER NAME SCORE\n");
    return 2;
  }
  const std::string folder = argv[1];
  const std::string name = argv[2];
  const float score = std::strtof(argv[3], nullptr);

  // A tool has no one to click a message box away: the engine writes them to log.txt instead.
  tovak2d::LogMessageBoxes();
  // Starting the sound alone sets the folder without a window (a dummy audio driver will do).
  tovak2d::Engine engine;
  if (!engine.Tovak2D_Start_OnlySound(nullptr, folder)) {
    std::fprintf(stderr, "archive_tool: the engine did not start, see %s/log.txt\n", folder.c_str());
    return 1;
  }
  tovak2d::Extra extra;
  int status = 0;

  // INI keys: written as text, read back; a missing key reads as "".
  extra.INIWrite("Player", "Name", name, "settings.ini");
  extra.INIWrite("Player", "Secret", "open sesame", "settings.ini", true);  // scrambled on disk
  std::printf("settings.ini: Name=%s Secret=%s Missing='%s'\n", extra.INIRead("Player", "Name", "settings.ini").c_str(),
              extra.INIRead("Player", "Secret", "settings.ini", true).c_str(),
              extra.INIRead("Player", "Missing", "settings.ini").c_str());

  // An archive: a new one starts as an empty file. Opened, two files added, one of them
  // extracted under another name. Every call returns false and writes a line to log.txt when it fails.
  if (!extra.FileExists("data.pak")) std::ofstream(folder + "/data.pak", std::ios::binary);
  if (!extra.PAK_OpenPAK("data.pak")) {
    std::fprintf(stderr, "archive_tool: cannot open data.pak, see log.txt\n");
    status = 1;
  }
  // An archive holds one entry of a name and refuses a second: a newer copy replaces the old one.
  extra.PAK_DeleteFile("settings.ini");
  extra.PAK_DeleteFile("about-copy.ini");
  if (!extra.PAK_AddFile("settings.ini")) {
    std::fprintf(stderr, "archive_tool: cannot add to data.pak, see log.txt\n");
    status = 1;
  }
  extra.INIWrite("About", "Made by", "archive_tool", "about.ini");
  std::string storedAs = "about-copy.ini";
  extra.PAK_AddFile("about.ini", storedAs);
  std::printf("data.pak holds %d files\n", extra.PAK_FileCount());
  if (!extra.PAK_ExtractFile("about-copy.ini", "about-extracted.ini") ||
      extra.INIRead("About", "Made by", "about-extracted.ini") != "archive_tool") {
    std::fprintf(stderr, "archive_tool: the extracted file differs\n");
    status = 1;
  }

  // A top-ten table: made on first use, each new score put in its place.
  std::string table = "scores.ini";
  int16_t ranks = 10, extraValues = 0;
  if (!extra.HighScore_Create(table, ranks, extraValues)) {
    std::fprintf(stderr, "archive_tool: cannot open %s, see log.txt\n", table.c_str());
    status = 1;
  } else {
    const int16_t rank = extra.HighScore_NewScore(score, name, {});
    if (rank > 0)
      std::printf("%s enters the table at rank %d\n", name.c_str(), rank);
    else
      std::printf("%s does not reach the table\n", name.c_str());
    for (int16_t i = 1; i <= ranks; ++i)
      std::printf("%2d. %-10s %8.0f\n", i, extra.HighScore_GetName(i).c_str(), extra.HighScore_GetScore(i));
  }

  engine.Tovak2D_Unload();
  return status;
}
