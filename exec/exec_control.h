#pragma once
// The channel between long-running work and whoever runs it: the work asks whether it should
// give up and reports how far it has come. Implementations must be callable from the worker
// thread that runs the work; the answers of ShouldBreak() may change at any time.

#include "exec/exceptions.h"

#include <cstdint>

namespace kestrova {

// The kinds of long work that report progress.
enum ExecStage : int32_t {
    kStageNone = -1,     // none in particular
    kStageScan = 1,      // the scan of a page folder, or the comparison of its files
    kStageLoad = 2,      // reading the pages of a build
    kStageIndexing = 3,  // a full-text index build
    kStageSearch = 4,    // a search
};

// How far a piece of long work has come. The stage is kept as a plain number, as it is passed
// on: an ExecStage.
struct ExecProgress {
    int32_t stage;    // an ExecStage
    int32_t current;  // units done (1-based where the work counts files)
    int32_t total;    // units in all
};

class IExecControl {
public:
    virtual ~IExecControl() = default;
    // True when the work holding this control is to give up as soon as it can (it then throws
    // BreakExec).
    virtual bool ShouldBreak() = 0;
    // The work reports its progress; the receiver must not throw.
    virtual void ReportProgress(const ExecProgress& progress) = 0;
};

// Raises BreakExec when the control asks the work to stop: the check at every checkpoint of
// long work.
inline void CheckBreak(IExecControl& control) {
    if (control.ShouldBreak()) throw BreakExec();
}

// A control that never asks to stop and ignores progress, for work run to completion (tools,
// benchmarks, tests).
class NullExecControl : public IExecControl {
public:
    bool ShouldBreak() override { return false; }
    void ReportProgress(const ExecProgress&) override {}
};

}  // namespace kestrova
