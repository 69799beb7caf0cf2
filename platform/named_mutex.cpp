#include "platform/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace kestrova::platform {
namespace {

// What the threads of this process own: flock() only excludes open file descriptions, so the
// recursion and the exclusion between threads of one process are kept here.
struct Ownership {
    std::thread::id owner;
    int count = 0;
    int fd = -1;  // holds the flock while count > 0
};

struct OwnershipTable {
    std::mutex mutex;
    std::unordered_map<std::string, Ownership> byLockFile;  // guarded by mutex
};

// Never destroyed: threads that end during static destruction still release through it.
OwnershipTable& Table() {
    static OwnershipTable* table = new OwnershipTable;
    return *table;
}

void Unlock(Ownership& entry) {
    flock(entry.fd, LOCK_UN);
    close(entry.fd);
}

// A thread that ends while it owns mutexes gives them up, as the system does with the
// mutexes of a thread that ends; other threads of the process then obtain them.
struct ThreadExitRelease {
    bool armed = false;
    ~ThreadExitRelease() {
        if (!armed) return;
        OwnershipTable& table = Table();
        std::lock_guard lock(table.mutex);
        std::thread::id self = std::this_thread::get_id();
        for (auto it = table.byLockFile.begin(); it != table.byLockFile.end();) {
            if (it->second.owner == self) {
                Unlock(it->second);
                it = table.byLockFile.erase(it);
            } else {
                ++it;
            }
        }
    }
};

thread_local ThreadExitRelease threadExitRelease;

std::string SystemMessage(int error) { return std::strerror(error); }

// The user's own lock folder, created 0700 when missing. Refused (false, with the reason) when
// it is not a real directory of this user: somebody else's folder could hold lock files that
// keep this user out, or that this user's processes could not lock.
bool EnsureLockFolder(const std::string& folder, std::string& error) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "can't create lock folder " + folder + ": " + SystemMessage(errno);
        return false;
    }
    struct stat st;
    if (::lstat(folder.c_str(), &st) != 0) {
        error = "lock folder " + folder + ": " + SystemMessage(errno);
        return false;
    }
    if (!S_ISDIR(st.st_mode)) {
        error = "lock folder " + folder + ": not a folder";
        return false;
    }
    if (st.st_uid != ::geteuid()) {
        error = "lock folder " + folder + ": owned by another user";
        return false;
    }
    if ((st.st_mode & 07777) != 0700) ::chmod(folder.c_str(), 0700);
    return true;
}

// Opens the lock file without following links or blocking (a FIFO planted there would not be
// a lock); only a regular file is a lock file.
int OpenLockFile(const std::string& path, std::string& error) {
    int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "can't open lock file " + path + ": " + SystemMessage(errno);
        return -1;
    }
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error = "lock file " + path + ": not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

uint64_t MutexNameHash(std::u16string_view name) {
    uint64_t hash = 0xcbf29ce484222325ull;
    for (char16_t unit : name) {
        for (unsigned byte : {unsigned(unit) & 0xffu, unsigned(unit) >> 8}) {
            hash ^= byte;
            hash *= 0x100000001b3ull;
        }
    }
    return hash;
}

std::string NamedMutex::LockFolder() {
    // Only an absolute XDG_RUNTIME_DIR counts; a relative one would depend on the directory
    // each process happens to be in.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime && runtime[0] == '/') return std::string(runtime) + "/kestrova-locks";
    return "/tmp/kestrova-locks-" + std::to_string(::geteuid());
}

NamedMutex::NamedMutex(std::u16string_view name) : name_(name) {
    char file[32];
    std::snprintf(file, sizeof file, "/%016" PRIx64 ".lock", MutexNameHash(name));
    const std::string folder = LockFolder();
    lockFile_ = folder + file;
    if (!EnsureLockFolder(folder, error_)) return;
    int fd = OpenLockFile(lockFile_, error_);
    if (fd < 0) return;
    ::close(fd);
    valid_ = true;
}

NamedMutex::TryResult NamedMutex::TryAcquire() {
    if (!valid_) return TryResult::Failed;
    threadExitRelease.armed = true;
    OwnershipTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto found = table.byLockFile.find(lockFile_);
    if (found != table.byLockFile.end()) {
        if (found->second.owner != std::this_thread::get_id()) return TryResult::Busy;
        ++found->second.count;
        return TryResult::Obtained;
    }
    std::string error;
    int fd = OpenLockFile(lockFile_, error);
    if (fd < 0) {
        error_ = error;
        return TryResult::Failed;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int code = errno;
        close(fd);
        if (code == EWOULDBLOCK) return TryResult::Busy;
        error_ = "can't lock " + lockFile_ + ": " + SystemMessage(code);
        return TryResult::Failed;
    }
    table.byLockFile.emplace(lockFile_, Ownership{std::this_thread::get_id(), 1, fd});
    return TryResult::Obtained;
}

bool NamedMutex::Release() {
    OwnershipTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto found = table.byLockFile.find(lockFile_);
    if (found == table.byLockFile.end() || found->second.owner != std::this_thread::get_id())
        return false;
    if (--found->second.count == 0) {
        Unlock(found->second);
        table.byLockFile.erase(found);
    }
    return true;
}

std::string NamedMutex::Error() const {
    std::lock_guard lock(Table().mutex);
    return error_;
}

int NamedMutex::OwnedCount() const {
    OwnershipTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto found = table.byLockFile.find(lockFile_);
    if (found == table.byLockFile.end() || found->second.owner != std::this_thread::get_id())
        return 0;
    return found->second.count;
}

}  // namespace kestrova::platform
