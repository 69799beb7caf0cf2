// The clock of the millisecond counts in the log lines of building and caching a model.
#pragma once

#include <chrono>

namespace kestrova {

using BuildClock = std::chrono::steady_clock;

// Milliseconds since `start`, as the log lines give them.
inline int ElapsedMs(BuildClock::time_point start) {
    return static_cast<int>(
        std::chrono::duration_cast<std::chrono::milliseconds>(BuildClock::now() - start).count());
}

}  // namespace kestrova
