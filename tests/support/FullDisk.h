// SPDX-License-Identifier: Zlib
#pragma once

#include <sys/resource.h>

#include <csignal>
#include <cstdint>

namespace testsupport {

// Runs action() as on a disk that fills up once a file reaches `limit` bytes: writes past it fail
// instead of raising SIGXFSZ. Returns what the action returns.
template <class Action>
auto WithFileSizeLimit(uint64_t limit, Action action) {
  rlimit saved{};
  ::getrlimit(RLIMIT_FSIZE, &saved);
  auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  rlimit small = saved;
  small.rlim_cur = limit;
  ::setrlimit(RLIMIT_FSIZE, &small);
  auto result = action();
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, previousHandler);
  return result;
}

}  // namespace testsupport
