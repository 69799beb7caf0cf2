// Opening the system's own binary files (folders.bin, preserved.bin) with a bounded retry: a
// sharing violation (another process holds a conflicting lock for a moment) is tried again a
// few times with a pause before each repetition; any other failure ends at once.
#pragma once

#include "platform/file.h"

#include <chrono>
#include <string>

namespace kestrova {

struct OpenRetry {
    int retries = 5;                        // repetitions after the first attempt
    std::chrono::milliseconds pause{1000};  // before each repetition
};

// The values used for preserved.bin and folders.bin.
inline constexpr OpenRetry kCacheOpenRetry{5, std::chrono::milliseconds(1000)};
inline constexpr OpenRetry kFolderListOpenRetry{5, std::chrono::milliseconds(500)};

// Opens `path` (native) with `access`, retrying sharing violations as `retry` says. Returns
// the result of the last attempt; the file is open exactly when it is kOk.
platform::File::OpenResult OpenWithRetry(platform::File& file, const std::string& path,
                                         platform::File::Access access, const OpenRetry& retry);

}  // namespace kestrova
