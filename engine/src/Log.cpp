// SPDX-License-Identifier: Zlib
#include <cstdio>

#include "Paths.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"
#include "platform/Text.h"
#include "tovak2d/Engine.h"

namespace tovak2d {

void LogMessageBoxes(bool Enable) {
  if (!Enable) {
    platform::dialogs::RedirectMessages(nullptr);
    return;
  }
  platform::dialogs::RedirectMessages([](const platform::dialogs::Message& message) {
    // One line per box: its line breaks become blanks.
    std::string line = "Message box [" + message.title + "] ";
    for (char c : message.text) {
      if (c == '\n' && !line.empty() && line.back() == ' ') continue;
      line += c == '\r' || c == '\n' ? ' ' : c;
    }
    try {
      modExtra::WriteLog(line);
    } catch (const modExtra::LogError&) {
      // Without a log (no application folder yet, a read-only one) the line still reaches someone.
      std::fprintf(stderr, "%s\n", Cp1252ToUtf8(line).c_str());
    }
  });
}

bool ShowErrorBox(const std::string& Text, const std::string& Title, WindowHandle Owner) {
  return platform::dialogs::ShowBox(Text, Title, Owner, true);
}

}  // namespace tovak2d

namespace tovak2d::modExtra {

void WriteLog(const std::string& vText, const std::string& logFile) {
  // Before the engine is started there is no application folder: only a log named by its full
  // path can be written; any other would land in the root of the file system.
  if (AppPath.empty() && logFile.substr(0, 1) != "/" && !paths::IsRooted(logFile))
    throw LogError("no application folder yet");
  std::string file;
  if (logFile.empty())
    file = AppPath + "\\log.txt";
  else if (paths::IsRooted(logFile))
    file = logFile;
  else
    file = AppPath + "\\" + logFile;
  std::string error;
  if (!platform::files::Append(file, vText + "\r\n", &error)) throw LogError("cannot write the log " + error);
}

bool CheckFile(const std::string& path) {
  // A name is looked up beside the game; the name as it stands only counts when it is a full
  // path, never relative to whatever folder the process happens to run in.
  bool found = platform::files::Exists(AppPath + "\\" + path) ||
               (paths::IsRooted(path) && platform::files::Exists(path));
  if (!found && text::ToLower(path) != "t2do.ini") {
    try {
      WriteLog("File is missing : " + AppPath + "\\" + path);
    } catch (const LogError&) {
      // The answer matters more than the note; a log that cannot be written changes neither.
    }
  }
  return found;
}

}  // namespace tovak2d::modExtra
