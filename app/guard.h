// The guard every window procedure runs its handlers under: a failure never crosses a Win32 frame.
#pragma once

#include <exception>

// Hands the failure to the application's failure box; the program goes on.
void ReportGuardedFailure(const std::exception& failure);
void ReportUnknownFailure();

// Runs work; a failure that leaves it is reported and swallowed. Returns whether work finished.
template <typename Work>
bool Guarded(Work&& work) noexcept
{
    try {
        work();
        return true;
    } catch (const std::exception& failure) {
        ReportGuardedFailure(failure);
    } catch (...) {
        ReportUnknownFailure();
    }
    return false;
}
