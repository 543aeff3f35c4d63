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

// A forked process that talks to its parent in lines: it reports what it has done, the parent
// answers when it must wait. The parent may kill it at any moment; whatever it wrote before that
// can still be read.
namespace reliability {

using Clock = std::chrono::steady_clock;

// The child's end of the two pipes.
class ChildChannel {
 public:
  ChildChannel(int toParent, int fromParent) : toParent_(toParent), fromParent_(fromParent) {}

  // One line, written in one call: a line the parent reads is a line that was finished.
  void Report(const std::string& text) const {
    const std::string line = text + "\n";
    size_t written = 0;
    while (written < line.size()) {
      const ssize_t n = ::write(toParent_, line.data() + written, line.size() - written);
      if (n <= 0) ::_exit(3);
      written += static_cast<size_t>(n);
    }
  }

  // Waits for the parent's next line (the parent's own deadline ends a child that waits too long).
  std::string Await() const {
    std::string line;
    char c = 0;
    while (::read(fromParent_, &c, 1) == 1 && c != '\n') line += c;
    return line;
  }

 private:
  int toParent_;
  int fromParent_;
};

class ChildProcess {
 public:
  // Runs body in a new process, which ends with the body's status (or 2 when it throws) and never
  // returns into the caller's code.
  explicit ChildProcess(const std::function<int(const ChildChannel&)>& body) {
    // A word sent to a child that has just been killed must not end the parent.
    ::signal(SIGPIPE, SIG_IGN);
    int up[2] = {-1, -1}, down[2] = {-1, -1};
    if (::pipe(up) != 0 || ::pipe(down) != 0) return;
    std::fflush(nullptr);
    pid_ = ::fork();
    if (pid_ == 0) {
      ::close(up[0]);
      ::close(down[1]);
      int status = 2;
      try {
        status = body(ChildChannel(up[1], down[0]));
      } catch (const std::exception& e) {
        ChildChannel(up[1], down[0]).Report(std::string("error exception: ") + e.what());
      }
      ::_exit(status);
    }
    ::close(up[1]);
    ::close(down[0]);
    fromChild_ = up[0];
    toChild_ = down[1];
    if (pid_ < 0) Close();
  }
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess() {
    Kill();
    Close();
  }

  bool running() const { return pid_ > 0; }

  enum class Read { kLine, kTimeout, kEnd };

  // The child's next line, waiting until `until` at the latest.
  Read NextLine(std::string& line, Clock::time_point until) {
    for (;;) {
      const size_t newline = buffer_.find('\n');
      if (newline != std::string::npos) {
        line = buffer_.substr(0, newline);
        buffer_.erase(0, newline + 1);
        return Read::kLine;
      }
      if (fromChild_ < 0) return Read::kEnd;
      const auto left = std::chrono::duration_cast<std::chrono::microseconds>(until - Clock::now()).count();
      if (left <= 0) return Read::kTimeout;
      pollfd wait{fromChild_, POLLIN, 0};
      const int ready = ::poll(&wait, 1, static_cast<int>((left + 999) / 1000));
      if (ready == 0) continue;
      char chunk[4096];
      const ssize_t n = ready > 0 ? ::read(fromChild_, chunk, sizeof chunk) : 0;
      if (n > 0) {
        buffer_.append(chunk, static_cast<size_t>(n));
      } else {
        ::close(fromChild_);
        fromChild_ = -1;
      }
    }
  }

  void Send(const std::string& text) {
    const std::string line = text + "\n";
    if (toChild_ >= 0 && ::write(toChild_, line.data(), line.size()) < 0) return;
  }

  // Kills the child at once and collects it. Returns the wait status, or -1 when none is left.
  int Kill() {
    if (pid_ <= 0) return -1;
    ::kill(pid_, SIGKILL);
    return Collect();
  }

  // Waits for the child to end by itself until `until`, then kills it. True when it ended itself
  // with status 0.
  bool Finish(Clock::time_point until) {
    while (pid_ > 0 && Clock::now() < until) {
      int status = 0;
      const pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_) {
        pid_ = -1;
        return WIFEXITED(status) && WEXITSTATUS(status) == 0;
      }
      ::usleep(2000);
    }
    Kill();
    return false;
  }

 private:
  int Collect() {
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
  }
  void Close() {
    if (fromChild_ >= 0) ::close(fromChild_);
    if (toChild_ >= 0) ::close(toChild_);
    fromChild_ = toChild_ = -1;
  }

  pid_t pid_ = -1;
  int fromChild_ = -1;
  int toChild_ = -1;
  std::string buffer_;
};

}  // namespace reliability
