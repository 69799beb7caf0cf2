#pragma once
// Divides the progress range of one receiver among several phases of work: phase k of n with
// its own range 0..T reaches the receiver as k*T..(k+1)*T of n*T. A value object that lives on
// the stack of the caller; the inner control must outlive it.

#include "exec/exec_control.h"

namespace kestrova {

class MultiExecControl : public IExecControl {
public:
    // REQUIRES: count >= 1.
    MultiExecControl(IExecControl& inner, int32_t count) : inner_(inner), count_(count) {}

    // The phase in progress, from 0.
    void SetIndex(int32_t index) { index_ = index; }
    int32_t GetIndex() const { return index_; }
    int32_t GetCount() const { return count_; }

    // Inner's answer.
    bool ShouldBreak() override { return inner_.ShouldBreak(); }
    // Passes (stage, current + total * index, total * count) to inner.
    void ReportProgress(const ExecProgress& progress) override;

private:
    IExecControl& inner_;
    int32_t index_ = 0;
    int32_t count_;
};

}  // namespace kestrova
