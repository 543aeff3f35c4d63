// SPDX-License-Identifier: Zlib
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "PhotoPackStart.h"

// A pack made from the player's photos while the game runs: the folder chooser, varnel-pack photos
// as a child process read line by line, and the finished pack moved into the packs folder.
namespace varnel {

enum class PhotoPackPhase { kIdle, kChoosing, kMaking, kReport };

struct PhotoPackView {
  PhotoPackPhase phase = PhotoPackPhase::kIdle;
  std::string title;                 // the pack's title, as the game shows text
  int done = 0;                      // photos the tool has dealt with
  int total = 0;                     // photos it deals with
  int levels = 0;                    // levels made so far
  std::vector<std::string> skipped;  // "<photo>: <reason>" of each photo left out
  std::string outcome;               // the report's first line
  bool failed = false;               // nothing was written
};

// The player's difficulty for new packs: 0 easy, 1 normal, 2 hard.
inline int16_t intPhotoDifficulty = 1;

// Opens the desktop's folder chooser; the chosen folder starts the making.
void ChoosePhotoFolder();
// Once a main-loop pass: the chooser's answer, the tool's progress and end. A finished pack is
// catalogued (and selected) once the player is on a menu screen.
void PollPhotoPack();
// Ends the tool and removes everything it wrote; the report says so.
void CancelPhotoPack();
// Closes the report and shows the pack list again.
void ClosePhotoPackReport();
// At the game's end: the chooser closed, the tool ended, its files removed.
void StopPhotoPack();

const PhotoPackView& PhotoPackState();

// A tool's standard-error line read into the view: progress, a skipped photo. The tool's own
// messages ("varnel-pack: ...") go to `message`.
void ReadToolLine(const std::string& line, PhotoPackView& view, std::string& message);

// `title` + ".vnl", or with " 2", " 3"... before the extension when a file of that name is in `taken`.
std::string FreePackName(const std::string& title, const std::vector<std::string>& taken);

}  // namespace varnel
