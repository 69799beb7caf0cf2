// A lock file that guards an index folder between processes. Holding the lock is holding an
// open descriptor of the file with a flock: exclusive for an index builder, shared for the
// searchers, so any number of searchers exclude a builder and a builder excludes everybody.
//
// Releasing closes the descriptor; an exclusive holder also removes the file (a searcher leaves
// it, since it could not learn that it was the last one without excluding the others for a
// moment). An acquisition checks that the file it locked is still the one at the path, so a
// holder never ends up locking a removed file while another process locks a new one. Not
// thread-safe; one object per holder.
#pragma once

#include <string>

namespace kestrova {

class IExecControl;

class IndexLockFile {
public:
    enum class Mode { kExclusive, kShared };

    // A lock on the file at the native path, not yet held. The control, when given, is asked
    // whether to give up while an acquisition waits; it must outlive the object.
    IndexLockFile(std::string path, Mode mode, IExecControl* control = nullptr);
    ~IndexLockFile();
    IndexLockFile(const IndexLockFile&) = delete;
    IndexLockFile& operator=(const IndexLockFile&) = delete;

    // One attempt: creates the file when missing and locks it; false when somebody else
    // holds a lock that excludes ours, or the file cannot be created.
    bool TryAcquire();
    // Attempts until the lock is held, waiting 200 ms after the first failure, 400 ms after
    // the second and so on, in steps of 200 ms; the control is asked before every attempt and
    // every step. False only when the control asked to stop.
    bool AcquireWithRetry();
    // Gives the lock back (an exclusive holder removes the file). No-op when not held.
    void Release();

    bool IsHeld() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }

private:
    bool ShouldStop() const;

    std::string path_;
    Mode mode_;
    IExecControl* control_;
    int fd_ = -1;
};

}  // namespace kestrova
