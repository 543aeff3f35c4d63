// SPDX-License-Identifier: Zlib
#pragma once

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <string>

// A forked process that reports to its parent in lines, each written in one call: a line the parent
// reads is a step that was finished. The parent may kill it at any moment and still read whatever it
// wrote before.
namespace reliability {

using Clock = std::chrono::steady_clock;
using Report = std::function<void(const std::string&)>;

class ChildProcess {
 public:
  // Runs body in a new process, which ends with the body's status (2 when it throws) and never
  // returns into the caller's code.
  explicit ChildProcess(const std::function<int(const Report&)>& body) {
    int up[2] = {-1, -1};
    if (::pipe(up) != 0) return;
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(up[0]);
      const Report report = [fd = up[1]](const std::string& text) {
        const std::string line = text + "\n";
        if (::write(fd, line.data(), line.size()) != static_cast<ssize_t>(line.size())) ::_exit(3);
      };
      int status = 2;
      try {
        status = body(report);
      } catch (const std::exception& e) {
        report(std::string("error exception: ") + e.what());
      }
      ::_exit(status);
    }
    ::close(up[1]);
    fromChild_ = up[0];
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    Kill();
    if (fromChild_ >= 0) ::close(fromChild_);
  }

  enum class Read { kLine, kTimeout, kEnd };

  // The child's next line, waiting until `until` at the latest.
  Read NextLine(std::string& line, Clock::time_point until) {
    size_t newline;
    while ((newline = buffer_.find('\n')) == std::string::npos) {
      if (fromChild_ < 0) return Read::kEnd;
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now()).count();
      pollfd wait{fromChild_, POLLIN, 0};
      if (left <= 0 || ::poll(&wait, 1, static_cast<int>(left)) <= 0) return Read::kTimeout;
      char chunk[4096];
      const ssize_t n = ::read(fromChild_, chunk, sizeof chunk);
      if (n > 0) {
        buffer_.append(chunk, static_cast<size_t>(n));
      } else {
        ::close(fromChild_);
        fromChild_ = -1;
      }
    }
    line = buffer_.substr(0, newline);
    buffer_.erase(0, newline + 1);
    return Read::kLine;
  }

  // Kills the child at once and collects it.
  void Kill() {
    if (pid_ > 0) ::kill(pid_, SIGKILL);
    Reap();
  }

  // Collects the child once it has closed its end (NextLine gave kEnd), which it does by ending.
  // True when it ended itself with status 0.
  bool Ended() { return Reap() == 0; }

 private:
  // Waits for the child; its wait status, or -1 when there is no child to wait for.
  int Reap() {
    int status = -1;
    if (pid_ <= 0) return -1;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
  }

  pid_t pid_ = -1;
  int fromChild_ = -1;
  std::string buffer_;
};

}  // namespace reliability
