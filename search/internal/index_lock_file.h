// A lock file that guards an index folder between processes. Holding the lock is holding an
// open descriptor of the file with a flock: exclusive for an index builder, shared for the
// searchers, so any number of searchers exclude a builder and a builder excludes everybody.
//
// Releasing closes the descriptor; an exclusive holder also removes the file (a searcher leaves
// it, since it could not learn that it was the last one without excluding the others for a
// moment). An acquisition checks that the file it locked is still the one at the path, so a
// holder never ends up locking a removed file while another process locks a new one. Only a
// regular file is a lock file: a FIFO, a link or a folder in its place is a failure, as is a
// file that cannot be opened or made; such failures are never waited out. Not thread-safe;
// one object per holder.
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
    // holds a lock that excludes ours, or the file cannot be used (then Error() says why). A
    // shared holder opens an existing file for reading only, and without one goes on unlocked
    // when its folder is read-only: nobody can build an index there either.
    bool TryAcquire();
    // Attempts while somebody else holds the lock, waiting 200 ms after the first attempt,
    // 400 ms after the second and so on, in steps of 200 ms; the control is asked before every
    // attempt and every step. False when the control asked to stop. Throws std::runtime_error
    // with Error() when the file cannot be used, and when a bounded wait of this process gives
    // up (platform/lock_wait.h, which also reports a long wait with the holders).
    bool AcquireWithRetry();
    // Gives the lock back (an exclusive holder removes the file). No-op when not held.
    void Release();

    bool IsHeld() const { return fd_ >= 0 || unlocked_; }
    // Why the last attempt failed, "can't open lock file PATH: reason"; empty when it failed
    // only because the lock is held elsewhere.
    const std::string& Error() const { return error_; }
    const std::string& Path() const { return path_; }

private:
    bool ShouldStop() const;
    // Opens the file for the mode; -1 when it cannot (Error() says why, unless the folder is
    // read-only for a shared holder).
    int Open();
    bool IsReadOnlyFolder() const;
    void Fail(int error);

    std::string path_;
    Mode mode_;
    IExecControl* control_;
    int fd_ = -1;
    bool unlocked_ = false;  // shared "hold" of a read-only folder without a lock file
    std::string error_;
};

}  // namespace kestrova
