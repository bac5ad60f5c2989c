// The in-process suite as a self-test that travels: where it runs, and the report it leaves.
#pragma once

#include <gtest/gtest.h>

// Whether this is the test machine: Wine, in the throw-away session the test scripts make
// (its own prefix and profile, a sound output that writes to a file). Anywhere else, and under
// Wine with HORALET_SELFTEST_AS_WINDOWS=1, it is a user's own Windows.
bool OnTestMachine();

// A test that only the test machine may run (it changes what the user's session would keep)
// says why and is skipped elsewhere.
#define SKIP_OFF_THE_TEST_MACHINE(why)                                                                                 \
    if (!OnTestMachine()) GTEST_SKIP() << "needs the test machine: " << why

// A test that plays the alarm sound is skipped on a user's Windows that has no sound output.
// On the test machine a missing output is a fault, and the test fails on it.
#define SKIP_WITHOUT_SOUND_OUTPUT()                                                                                    \
    if (!OnTestMachine() && !HasSoundOutput()) GTEST_SKIP() << "needs a sound output, and this machine has none"
bool HasSoundOutput();

// Collects how each test ended and, at the end of the run, writes selftest-report.txt beside
// the executable. Returns the exit code: 0 only when nothing failed and the report was written.
int RunSelfTest();
