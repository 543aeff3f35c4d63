// SPDX-License-Identifier: Zlib
#pragma once

#include <string>
#include <vector>

#include "Archive.h"
#include "TestFiles.h"
#include "modExtra.h"
#include "platform/Dialogs.h"
#include "platform/Files.h"

namespace testsupport {

// The archive state is shared by the whole engine: a test that opens archives starts and ends
// without one, and without the messages an earlier one recorded.
inline void CloseArchive() {
  tovak2d::modExtra::PakPath.clear();
  tovak2d::modExtra::PakIndex.clear();
  tovak2d::modExtra::PakStamp.reset();
  tovak2d::platform::dialogs::ClearRecordedMessages();
}

// A fresh folder that serves as the application folder for one test, removed afterwards.
class TempAppFolder : public TempFolder {
 public:
  TempAppFolder() : previous_(tovak2d::modExtra::AppPath) {
    tovak2d::modExtra::AppPath = str();
    tovak2d::platform::files::SetApplicationFolder(str());
  }
  ~TempAppFolder() {
    tovak2d::modExtra::AppPath = previous_;
    tovak2d::platform::files::SetApplicationFolder(previous_);
  }

  std::string str() const { return path().string(); }
  std::string Read(const std::string& name) const { return ReadFile(path() / name); }
  void Write(const std::string& name, const std::string& data) const { WriteFile(path() / name, data); }
  bool Has(const std::string& name) const { return std::filesystem::exists(path() / name); }
  std::string Log() const { return Read("log.txt"); }

  // The lines of the log, without their CR LF.
  std::vector<std::string> LogLines() const {
    std::vector<std::string> lines;
    std::string log = Read("log.txt");
    size_t start = 0;
    for (size_t end; (end = log.find("\r\n", start)) != std::string::npos; start = end + 2)
      lines.push_back(log.substr(start, end - start));
    return lines;
  }

 private:
  std::string previous_;
};

}  // namespace testsupport
