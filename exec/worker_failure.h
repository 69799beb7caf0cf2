#pragma once
// Failures of the worker threads that have no log of their own to go to (a load without a
// data folder, an index build that failed outside the index builder, which logs its own, a
// thread ended by an exception): one line on standard error, "kestrova: what failed: detail".
// Thread-safe.

#include <exception>
#include <string>

namespace kestrova {

// Writes "kestrova: " + message as one line on standard error.
void ReportWorkerFailure(const std::string& message);

// The message of the exception being handled: what() of a standard exception, "unknown
// error" for anything else. REQUIRES: called inside a catch block.
std::string CurrentFailure();

}  // namespace kestrova
