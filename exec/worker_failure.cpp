#include "exec/worker_failure.h"

#include <cstdio>

namespace kestrova {

void ReportWorkerFailure(const std::string& message) {
    const std::string line = "kestrova: " + message + "\n";
    // One write, so that lines of several threads never interleave.
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

std::string CurrentFailure() {
    try {
        throw;
    } catch (const std::exception& e) {
        return e.what();
    } catch (...) {
        return "unknown error";
    }
}

}  // namespace kestrova
