#pragma once
// The control of a worker thread's own work: it breaks exactly when the thread's stop event is
// signalled (tested without waiting) and ignores progress. Safe from any thread.

#include "exec/exec_control.h"
#include "platform/event.h"

namespace kestrova {

class StopExecControl : public IExecControl {
public:
    // The event must outlive the control.
    explicit StopExecControl(const platform::ManualResetEvent& stop) : stop_(stop) {}

    bool ShouldBreak() override { return stop_.IsSet(); }
    void ReportProgress(const ExecProgress&) override {}

private:
    const platform::ManualResetEvent& stop_;
};

}  // namespace kestrova
