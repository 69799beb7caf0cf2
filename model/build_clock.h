// Helpers shared by the long steps of building and caching a model: the cancellation check
// and the millisecond counts of the log lines.
#pragma once

#include "exec/exceptions.h"
#include "exec/exec_control.h"

#include <chrono>

namespace kestrova {

using BuildClock = std::chrono::steady_clock;

// Milliseconds since `start`, as the log lines give them.
inline int ElapsedMs(BuildClock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(BuildClock::now() - start).count());
}

// Raises BreakExec when the control asks the work to stop.
inline void Check(IExecControl& control) {
    if (control.ShouldBreak()) throw BreakExec();
}

}  // namespace kestrova
