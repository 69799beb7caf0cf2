// Named mutexes shared by every process of the user on the machine (the "Global\" names).
//
// A mutex is an exclusive flock() on a lock file in the user's own lock folder (LockFolder(),
// mode 0700, files mode 0600), the file named by a 64-bit FNV-1a hash of the full mutex name.
// The data these mutexes guard is per user, so they need not be shared with other users; a
// folder that every user can write would let anybody lock others out by making the lock files
// first. Ownership belongs to
// the thread that obtained the mutex, not to the NamedMutex object, and is recursive: a thread
// that owns a mutex obtains it again at once and must release it as often as it obtained it.
// When the owning thread or process ends without releasing, the mutex becomes free and the
// next waiter obtains it normally (the abandoned mutex). Destroying a NamedMutex object does
// not release a mutex that a thread owns. All operations are thread-safe.
//
// Processes that fork without exec share the lock files of the parent; lock descriptors are
// close-on-exec, so an exec'ed child never keeps its parent's mutexes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrova::platform {

class NamedMutex {
public:
    enum class TryResult { Obtained, Busy, Failed };

    // Opens the mutex `name`, creating its lock file when it is missing. When the lock folder
    // or file cannot be made or is not the user's own, the mutex is invalid, Error() says why,
    // and every attempt on it fails.
    explicit NamedMutex(std::u16string_view name);
    NamedMutex(const NamedMutex&) = delete;
    NamedMutex& operator=(const NamedMutex&) = delete;

    bool IsValid() const { return valid_; }
    const std::u16string& Name() const { return name_; }
    // The lock file that plays this mutex.
    const std::string& LockFilePath() const { return lockFile_; }

    // One attempt that never waits: Obtained (also when the calling thread owns it already),
    // Busy (another thread or process owns it) or Failed (invalid mutex or system error; then
    // Error() says why).
    TryResult TryAcquire();
    // Releases one ownership of the calling thread; false when the thread does not own it.
    bool Release();
    // How often the calling thread owns the mutex now (0: not at all).
    int OwnedCount() const;

    // Why the mutex is invalid or the last attempt failed: "what failed: path: reason".
    std::string Error() const;

    // The folder of the lock files: $XDG_RUNTIME_DIR/kestrova-locks, or without an absolute
    // XDG_RUNTIME_DIR /tmp/kestrova-locks-UID. Refused when it is not the user's own.
    static std::string LockFolder();

private:
    std::u16string name_;
    std::string lockFile_;
    bool valid_ = false;
    std::string error_;  // guarded by the ownership table's lock once constructed
};

// The 64-bit FNV-1a hash of the UTF-16 code units of `name` (little-endian byte order),
// which names the lock file of a mutex.
uint64_t MutexNameHash(std::u16string_view name);

}  // namespace kestrova::platform
