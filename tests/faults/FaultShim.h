#pragma once

// The control of the fault shim linked into the test program (fault_shim.c).
extern "C" {
// From now on the n-th write-side call fails with err (n = 0: calls are only counted).
void varnel_fault_arm(long n, int err);
long varnel_fault_calls(void);
// The fsync and fdatasync calls made on regular files since arming.
long varnel_fault_syncs(void);
int varnel_fault_fired(void);
// Writes may reach this folder only; the first path written outside it is kept.
void varnel_fault_confine(const char* folder);
const char* varnel_fault_outside(void);
// The file the failed call was made on.
const char* varnel_fault_fired_on(void);
}
