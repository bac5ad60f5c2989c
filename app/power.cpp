// The execution state while the alarm rings.
#include "app/power.h"

namespace {

ExecutionStateSink executionStateSink = SetThreadExecutionState;
bool awake = false;

} // namespace

void KeepAwake(bool held)
{
    if (held == awake) return;
    awake = held;
    executionStateSink(held ? ES_CONTINUOUS | ES_SYSTEM_REQUIRED | ES_DISPLAY_REQUIRED : ES_CONTINUOUS);
}

void SetExecutionStateSink(ExecutionStateSink sink)
{
    executionStateSink = sink ? sink : SetThreadExecutionState;
}
