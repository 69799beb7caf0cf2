#pragma once
// A cross-process reader/writer lock made of `count` named mutexes, one set per prefix and
// page folder (kLoadLockSet, kSearchLockSet below). A reader takes any one mutex, so up to `count`
// readers in any processes hold the set at once; a writer takes every mutex, one at a time,
// so that the stop event can interrupt it at each step. Every wait ends at once with
// shutdown_exception when the stop event is signalled, and with LockError when a mutex cannot
// be used (its lock folder or file is unusable) or when a bounded wait of this process gives
// up (platform/lock_wait.h, which also reports long waits, naming the holders).
//
// Mutex i is named "Global\" + prefix + ":" + i + ":" + folder, where folder is the page
// folder path in its normalised form (absolute, '.' and '..' resolved, '\' turned into '/',
// no repeated or trailing separator). Letter case is kept: folders whose paths differ in case
// are different folders here, and sharing their locks would let them share a cache. The name
// is not cut to any length: it only names a lock file through its hash.
//
// Owned by the worker thread that builds it and used only on that thread. Ownership of a
// mutex belongs to the thread (see platform/named_mutex.h): destroying the set does not
// release what the thread holds, the end of the thread does.
//
// Writers never wait for each other in a circle: AcquireAll() takes the mutexes in their
// order, waiting for the first one it lacks. A writer that also holds a mutex as a reader
// (the upgrade: read the cache under one mutex, rebuild it under all) would deadlock with a
// second upgrading writer, each holding the mutex the other needs. So AcquireAll() first gives
// back every mutex of the set that the thread holds, collects all of them, and then takes the
// given-back ones again, so the caller's releases stay balanced (ReleaseAll(), then Release()
// of its reader mutex). Between giving back and collecting, another process may have written
// what the reader saw missing: a caller that upgrades must check again what it read once
// AcquireAll() returns (for the cache: whether another process has rebuilt it meanwhile).

#include "platform/event.h"
#include "platform/named_mutex.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The two lock sets of every page folder, shared by all processes that open it: the loader's
// guards the model cache (one mutex to read it, all of them to rebuild it), the search thread's
// guards the full-text index folders (one mutex per search, all of them for an index build).
inline constexpr std::u16string_view kLoadLockSet = u"ksv:load";
inline constexpr std::u16string_view kSearchLockSet = u"ksv:search";
// The number of mutexes of each: so many readers may hold a set at once.
inline constexpr int kLockSetSize = 4;

class NamedLockSet {
public:
    // Opens the count mutexes of the set. Throws shutdown_exception when the stop event is
    // already signalled. A mutex that cannot be opened stays in the set as an invalid one; any
    // wait that involves it fails with LockError ("can't take lock PREFIX of FOLDER: what
    // failed: path: reason"). The stop event must outlive the set.
    NamedLockSet(std::u16string_view prefix, std::u16string_view folderPath, int count,
                 const platform::ManualResetEvent& stop);
    NamedLockSet(const NamedLockSet&) = delete;
    NamedLockSet& operator=(const NamedLockSet&) = delete;

    // The name of mutex `index` of the set of `prefix` for `folderPath`.
    static std::u16string MutexName(std::u16string_view prefix, int index,
                                    std::u16string_view folderPath);

    // Reader: waits for any one mutex and returns it. The caller gives it back with Release().
    // Throws shutdown_exception on a stop, LockError on a failed or abandoned wait.
    platform::NamedMutex& AcquireAny();
    // Writer: takes every mutex of the set (see the upgrade above). Throws as AcquireAny().
    // After a stop the mutexes taken by then stay with the thread, which is ending; after a
    // LockError the thread holds what it held before the call.
    void AcquireAll();
    // Releases every mutex of the set once, in order.
    void ReleaseAll();
    // Releases a mutex returned by AcquireAny(); false when the thread does not hold it.
    static bool Release(platform::NamedMutex& mutex) { return mutex.Release(); }

    int Count() const { return static_cast<int>(mutexes_.size()); }
    platform::NamedMutex& Mutex(int index) { return *mutexes_[index]; }

private:
    // Waits for the first of the stop event and `candidates`; throws on a stop.
    platform::NamedMutex& Wait(const std::vector<platform::NamedMutex*>& candidates);

    const platform::ManualResetEvent& stop_;
    std::string what_;  // "lock PREFIX of FOLDER", for messages
    std::vector<std::unique_ptr<platform::NamedMutex>> mutexes_;
};

// Holds every mutex of a set (the writer's side) from construction, which calls AcquireAll()
// and throws as it does, until destruction, which calls ReleaseAll().
class AllLocksHeld {
public:
    explicit AllLocksHeld(NamedLockSet& set) : set_(set) { set_.AcquireAll(); }
    ~AllLocksHeld() { set_.ReleaseAll(); }
    AllLocksHeld(const AllLocksHeld&) = delete;
    AllLocksHeld& operator=(const AllLocksHeld&) = delete;

private:
    NamedLockSet& set_;
};

}  // namespace kestrova
