// SPDX-License-Identifier: Zlib
#pragma once

#include <string>

// The desktop's folder chooser, shown while the program goes on: the desktop portal's file
// chooser over the session bus, else zenity, else kdialog. One chooser at a time.
namespace tovak2d::platform::folders {

enum class State { kNone, kOpen, kChosen, kCancelled };

// Shows the chooser titled `title` (UTF-8). False when one is open already, when dialogs are kept
// off the screen (no display, a dummy video driver) or when the desktop has no chooser.
bool Open(const std::string& title);

// Where the chooser is; kChosen (with the folder's path) and kCancelled are reported once, after
// which the state is kNone again.
State Poll(std::string& folder);

// Closes an open chooser: its program is ended, its portal request withdrawn.
void Close();

// The path of a file:// URI, its %XX escapes decoded; empty for another scheme or a remote host.
std::string PathOfFileUri(const std::string& uri);

}  // namespace tovak2d::platform::folders
