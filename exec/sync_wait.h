#pragma once
// The hook that the user-interface thread polls while it waits synchronously for a worker.

namespace kestrova {

class ISyncWait {
public:
    virtual ~ISyncWait() = default;
    // True to keep waiting; false makes the waiter give up with SyncBreak.
    virtual bool ContinueWaiting() = 0;
};

// Keeps waiting for ever and does nothing else (for callers without a message loop).
class DummySyncWait : public ISyncWait {
public:
    bool ContinueWaiting() override { return true; }
};

}  // namespace kestrova
