#pragma once
// The channel between long-running work and whoever runs it: the work asks whether it should
// give up and reports how far it has come. Implementations must be callable from the worker
// thread that runs the work; the answers of ShouldBreak() may change at any time.

#include "exec/exceptions.h"

#include <cstdint>

namespace kestrova {

// How far a piece of long work has come.
struct ExecProgress {
  int32_t stage;    // which kind of work reports: 1 model file comparison, 3 index build, 4 search
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
