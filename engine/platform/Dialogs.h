// SPDX-License-Identifier: Zlib
#pragma once

#include <functional>
#include <string>
#include <vector>

// Message boxes. Under a test (no display, a dummy video driver, or TOVAK2D_QUIET_DIALOGS set)
// nothing is shown: the text goes to standard error and to a list the tests read.
namespace tovak2d::platform::dialogs {

struct Message {
  std::string title;
  std::string text;  // Windows-1252
};

void ShowMessage(const std::string& text, const std::string& title);

// While set, every message box goes to this function instead of the screen (a program's choice,
// whatever the environment); an empty function restores the default.
void RedirectMessages(std::function<void(const Message&)> to);

// Whether dialogs are kept off the screen (a test, no display).
bool Quiet();

std::vector<Message> RecordedMessages();
void ClearRecordedMessages();

}  // namespace tovak2d::platform::dialogs
