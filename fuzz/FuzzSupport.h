// SPDX-License-Identifier: Zlib
#pragma once

// What every fuzz target shares: one scratch folder per process, laid out as
//   root/app  the application folder the engine works in
//   root/cwd  the process's current folder, which must stay empty
// so that a file written anywhere but the application folder shows up as a stray in root or in
// cwd. The folder is made once and emptied between inputs; it is removed when the process exits
// normally (a crash leaves it, so the fuzz script gives each run a temporary folder of its own).
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <set>
#include <string>
#include <string_view>

namespace fuzzsupport {

namespace fs = std::filesystem;

// A broken promise of the code under test: libFuzzer keeps the input that caused it.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "fuzz check failed: %s\n", what.c_str());
  std::abort();
}

inline void Check(bool condition, const std::string& what) {
  if (!condition) Fail(what);
}

class Scratch {
 public:
  static Scratch& Get() {
    static Scratch scratch;
    return scratch;
  }

  const fs::path& app() const { return app_; }
  const fs::path& root() const { return root_; }
  std::string appString() const { return app_.string(); }

  // Writes bytes into the application folder under name (which may hold one folder level).
  void Put(const std::string& name, std::string_view bytes) const {
    const fs::path path = app_ / name;
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }

  // Empties the application folder except for the names kept, so that no input leaves files for
  // the next one.
  void Clear(std::initializer_list<std::string> keep = {}) const {
    const std::set<std::string> kept(keep);
    std::error_code ec;
    for (fs::directory_iterator it(app_, ec), end; !ec && it != end; it.increment(ec)) {
      if (kept.contains(it->path().filename().string())) continue;
      std::error_code ignored;
      fs::remove_all(it->path(), ignored);
    }
  }

  // Nothing may appear beside the application folder nor in the current folder.
  void CheckNoStrays() const {
    std::error_code ec;
    for (fs::directory_iterator it(root_, ec), end; !ec && it != end; it.increment(ec)) {
      const std::string name = it->path().filename().string();
      Check(name == "app" || name == "cwd", "a file was written outside the application folder: " + name);
    }
    for (fs::directory_iterator it(cwd_, ec), end; !ec && it != end; it.increment(ec))
      Fail("a file was written into the current folder: " + it->path().filename().string());
  }

  Scratch(const Scratch&) = delete;
  Scratch& operator=(const Scratch&) = delete;

 private:
  Scratch() {
    std::string pattern = (fs::temp_directory_path() / "varnel-fuzz-XXXXXX").string();
    Check(::mkdtemp(pattern.data()) != nullptr, "cannot make a scratch folder");
    root_ = pattern;
    app_ = root_ / "app";
    cwd_ = root_ / "cwd";
    fs::create_directory(app_);
    fs::create_directory(cwd_);
    fs::current_path(cwd_);
  }
  ~Scratch() {
    std::error_code ec;
    fs::current_path(root_.parent_path(), ec);
    fs::remove_all(root_, ec);
  }

  fs::path root_, app_, cwd_;
};

// Runs the headless drivers whatever the environment says: no window, no sound card, no dialog.
inline void Headless() {
  ::setenv("SDL_VIDEODRIVER", "dummy", 1);
  ::setenv("SDL_AUDIODRIVER", "dummy", 1);
  ::setenv("TOVAK2D_QUIET_DIALOGS", "1", 1);
}

// The start of a target that works in the application folder: headless drivers, and the engine's
// application folder set to the scratch one.
inline void StartIn(std::string& appPath) {
  Headless();
  appPath = Scratch::Get().appString();
}

// The start of every input: the scratch folder, with the engine's application folder set to it
// again (a target may have moved it).
inline const Scratch& Enter(std::string& appPath) {
  const Scratch& scratch = Scratch::Get();
  appPath = scratch.appString();
  return scratch;
}

// Reads the input as a little stream of choices followed by the bytes of a file.
class Choices {
 public:
  Choices(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Byte() { return used_ < size_ ? data_[used_++] : 0; }
  std::string_view Rest() const { return {reinterpret_cast<const char*>(data_) + used_, size_ - used_}; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t used_ = 0;
};

}  // namespace fuzzsupport
