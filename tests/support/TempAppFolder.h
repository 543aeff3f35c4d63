#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "modExtra.h"
#include "platform/Files.h"

namespace testsupport {

// A fresh folder that serves as the application folder for one test, removed afterwards.
class TempAppFolder {
 public:
  TempAppFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "varnel-test-XXXXXX").string();
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    path_ = mkdtemp(buffer.data());
    previous_ = tovak2d::modExtra::AppPath;
    tovak2d::modExtra::AppPath = path_.string();
    tovak2d::platform::files::SetApplicationFolder(path_.string());
  }
  ~TempAppFolder() {
    tovak2d::modExtra::AppPath = previous_;
    tovak2d::platform::files::SetApplicationFolder(previous_);
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempAppFolder(const TempAppFolder&) = delete;
  TempAppFolder& operator=(const TempAppFolder&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string str() const { return path_.string(); }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  std::string Read(const std::string& name) const {
    std::ifstream in(path_ / name, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void Write(const std::string& name, const std::string& data) const {
    std::filesystem::create_directories((path_ / name).parent_path());
    std::ofstream(path_ / name, std::ios::binary) << data;
  }
  bool Has(const std::string& name) const { return std::filesystem::exists(path_ / name); }
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
  std::filesystem::path path_;
  std::string previous_;
};

}  // namespace testsupport
