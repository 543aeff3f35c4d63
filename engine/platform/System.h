// SPDX-License-Identifier: Zlib
#pragma once

#include <optional>
#include <string>
#include <vector>

// Other programs: the file dialog, the web browser. Never through a shell.
namespace tovak2d::platform::system {

// Whether a program of that name is on the PATH.
bool HasProgram(const std::string& name);

// Runs argv[0] with its arguments, waits for it and returns what it wrote to standard output, or
// nothing when it could not be run or did not end successfully.
std::optional<std::string> RunAndCapture(const std::vector<std::string>& argv);

// Starts argv[0] with its arguments and lets it run on its own.
bool Launch(const std::vector<std::string>& argv);

// The file-open dialog of the desktop (zenity or kdialog). Returns the chosen file's path, or
// nothing when the user cancelled or no dialog program is installed. Shows nothing under tests.
std::optional<std::string> OpenFileDialog(const std::string& title, const std::string& folder);

}  // namespace tovak2d::platform::system
