// The guard of every pane handler that reads the model: whatever the model throws stays
// inside the handler, which then has left its pane as it was (each handler computes what it
// needs from the model before it changes a widget).
#pragma once

#include <QtGlobal>

#include <exception>
#include <utility>

namespace kestrova {

// Runs `work`; an exception is reported on the log with `where` and dropped. Returns whether
// `work` finished.
template <class Work>
bool RunGuarded(const char* where, Work&& work) noexcept {
    try {
        std::forward<Work>(work)();
        return true;
    } catch (const std::exception& e) {
        qWarning("%s: %s", where, e.what());
    } catch (...) {
        qWarning("%s: unknown exception", where);
    }
    return false;
}

}  // namespace kestrova
