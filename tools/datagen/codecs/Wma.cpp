// SPDX-License-Identifier: Zlib
#include "Wma.h"

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstddef>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace datagen {

int RunProgram(const std::vector<std::string>& argv, int timeoutSeconds) {
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return -1;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
  for (;;) {
    int status = 0;
    pid_t done = waitpid(pid, &status, WNOHANG);
    if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (done < 0) return -1;
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      return -1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
}

Bytes EncodeWma(const Pcm& pcm, const std::filesystem::path& scratch) {
  const auto wav = scratch / "music-source.wav", wma = scratch / "music-encoded.wma";
  const size_t lead = static_cast<size_t>(kWmaBlock * pcm.channels);
  if (pcm.samples.size() < lead) throw std::invalid_argument("the music is shorter than one WMA block");
  Pcm padded = pcm;
  padded.samples.insert(padded.samples.begin(), pcm.samples.end() - static_cast<std::ptrdiff_t>(lead),
                        pcm.samples.end());
  WriteFile(wav, EncodeWav(padded));
  const int code = RunProgram(
      {VARNEL_FFMPEG, "-nostdin", "-v", "error", "-y", "-i", wav.string(), "-map_metadata", "-1", "-c:a",
       "wmav2", "-b:a", "128k", "-fflags", "+bitexact", "-flags:a", "+bitexact", wma.string()},
      120);
  if (code != 0)
    throw std::runtime_error("ffmpeg could not encode the music (exit code " + std::to_string(code) + ")");
  Bytes data = ReadFile(wma);
  std::filesystem::remove(wav);
  std::filesystem::remove(wma);
  return data;
}

}  // namespace datagen
