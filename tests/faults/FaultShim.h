// SPDX-License-Identifier: Zlib
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// The control of the fault shim linked into the test program (fault_shim.c).
extern "C" {
// From now on the n-th write-side call fails with err (n = 0: calls are only counted).
void varnel_fault_arm(long n, int err);
long varnel_fault_calls(void);
// The fsync calls made on regular files since arming.
long varnel_fault_syncs(void);
int varnel_fault_fired(void);
// Writes may reach this folder only; the first path written outside it is kept.
void varnel_fault_confine(const char* folder);
const char* varnel_fault_outside(void);
// The file the failed call was made on.
const char* varnel_fault_fired_on(void);
}

// What the shim saw in a run: its write-side calls, whether the armed one failed, and the first
// path written outside the allowed folder (empty: none).
struct FaultCount {
  long calls = 0;
  bool fired = false;
  std::string outside;
};

// The shim's count in this process as one line "CALLS FIRED OUTSIDE", the line its
// VARNEL_FAULT_REPORT file receives.
inline std::string FaultCountLine() {
  const char* outside = varnel_fault_outside();
  return std::to_string(varnel_fault_calls()) + " " + std::to_string(varnel_fault_fired()) + " " +
         (outside[0] ? outside : "-");
}

inline bool ReadFaultCount(const std::string& line, FaultCount& count) {
  char outside[4096] = {};
  int fired = 0;
  if (std::sscanf(line.c_str(), "%ld %d %4095s", &count.calls, &fired, outside) != 3) return false;
  count.fired = fired != 0;
  count.outside = outside == std::string("-") ? "" : outside;
  return true;
}

// The calls a sweep makes fail: every one up to `most`, else an even spread of `most`, the first
// and the last included, unless VARNEL_FAULT_ALL asks for all (VARNEL_FAULT_MOST for fewer).
inline std::vector<long> SweepPoints(long calls, long most) {
  if (const char* fewer = std::getenv("VARNEL_FAULT_MOST")) most = std::clamp(std::atol(fewer), 1L, most);
  const long runs = std::getenv("VARNEL_FAULT_ALL") ? calls : std::min(calls, most);
  std::vector<long> points;
  for (long i = 0; i < runs; ++i) points.push_back(runs == 1 ? 1 : 1 + i * (calls - 1) / (runs - 1));
  return points;
}

// The n-th call fails with no space, an I/O error or a read-only file system in turn.
inline int SweepError(long n) {
  constexpr int kErrors[] = {ENOSPC, EIO, EROFS};
  return kErrors[n % 3];
}
