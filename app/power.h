// The machine kept awake while the alarm rings: neither the system nor the display sleeps.
#pragma once

#include <windows.h>

// Held, the system and the display stay on; released, the system's own idle rules apply again.
// Each change is told to the system once.
void KeepAwake(bool held);

// Where the execution state goes: the platform, unless a test says otherwise.
using ExecutionStateSink = EXECUTION_STATE(WINAPI*)(EXECUTION_STATE);
void SetExecutionStateSink(ExecutionStateSink sink);
