// The failures of a load that the model log would otherwise not show: anything but a stop that
// leaves the cache reader or the build (memory exhausted, a file system error) is written to
// the log as "loading failed: DETAIL" before it goes on to the caller, which drops the model.
#pragma once

#include "exec/exceptions.h"
#include "model/page/log.h"

#include <exception>
#include <utility>

namespace kestrova {

// Runs `work` and returns what it returns, logging a failure as above.
template <class Work>
decltype(auto) LoggingLoadFailure(ILog& log, Work&& work) {
    try {
        return std::forward<Work>(work)();
    } catch (const BreakExec&) {
        throw;
    } catch (const shutdown_exception&) {
        throw;
    } catch (const std::exception& e) {
        log.WriteFormat("loading failed: %s", e.what());
        throw;
    }
}

}  // namespace kestrova
