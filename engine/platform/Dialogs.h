// SPDX-License-Identifier: Zlib
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "tovak2d/Types.h"

// Message boxes. Under a test (no display, a dummy video driver, or TOVAK2D_QUIET_DIALOGS set)
// nothing is shown: the text goes to standard error and to a list the tests read.
namespace tovak2d::platform::dialogs {

struct Message {
  std::string title;
  std::string text;  // Windows-1252
};

// An engine's box: over the owner window when there is one (SetOwner), else alone.
void ShowMessage(const std::string& text, const std::string& title);

// The window the engine's own boxes are shown over (the game window); none when null.
void SetOwner(WindowHandle window);

// Shows a box (text and title in UTF-8) over OWNER, or alone when null, and waits for its button;
// false when none was shown (Quiet, or SDL could not). While it is open over an X11 window, a
// TERM or INT closes it after SDL's own handler has noted the signal for the next event pass.
bool ShowBox(const std::string& text, const std::string& title, WindowHandle owner, bool error);

// While set, every message box goes to this function instead of the screen (a program's choice,
// whatever the environment); an empty function restores the default.
void RedirectMessages(std::function<void(const Message&)> to);

// Whether dialogs are kept off the screen (a test, no display).
bool Quiet();

std::vector<Message> RecordedMessages();
void ClearRecordedMessages();

}  // namespace tovak2d::platform::dialogs
