#include "platform/named_mutex.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

namespace kestrova::platform {
namespace {

constexpr char kLockFolder[] = "/tmp/kestrova-locks";
constexpr auto kPollInterval = std::chrono::milliseconds(20);

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

// The lock folder must be a real directory (not a link somebody planted) that every user can
// write, with the sticky bit so nobody removes another user's lock files.
bool EnsureLockFolder() {
    if (mkdir(kLockFolder, 0777) == 0) {
        chmod(kLockFolder, 01777);
        return true;
    }
    if (errno != EEXIST) return false;
    struct stat st;
    if (lstat(kLockFolder, &st) != 0 || !S_ISDIR(st.st_mode)) return false;
    if ((st.st_mode & 07777) != 01777 && st.st_uid == geteuid()) chmod(kLockFolder, 01777);
    return true;
}

// Opens the lock file without following links; a file we own gets mode 0666 whatever the
// umask, so the users who come later can lock it too.
int OpenLockFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    if ((st.st_mode & 0777) != 0666 && st.st_uid == geteuid()) fchmod(fd, 0666);
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

const char* NamedMutex::LockFolder() { return kLockFolder; }

NamedMutex::NamedMutex(std::u16string_view name) : name_(name) {
    char file[32];
    std::snprintf(file, sizeof file, "/%016" PRIx64 ".lock", MutexNameHash(name));
    lockFile_ = std::string(kLockFolder) + file;
    if (!EnsureLockFolder()) return;
    int fd = OpenLockFile(lockFile_);
    if (fd < 0) return;
    close(fd);
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
    int fd = OpenLockFile(lockFile_);
    if (fd < 0) return TryResult::Failed;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        return error == EWOULDBLOCK ? TryResult::Busy : TryResult::Failed;
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

int NamedMutex::OwnedCount() const {
    OwnershipTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto found = table.byLockFile.find(lockFile_);
    if (found == table.byLockFile.end() || found->second.owner != std::this_thread::get_id())
        return 0;
    return found->second.count;
}

std::optional<size_t> WaitForStopOrMutex(const ManualResetEvent& stop,
                                         std::span<NamedMutex* const> mutexes) {
    for (;;) {
        if (stop.IsSet()) return std::nullopt;
        for (size_t i = 0; i < mutexes.size(); ++i) {
            switch (mutexes[i]->TryAcquire()) {
                case NamedMutex::TryResult::Obtained:
                    return i;
                case NamedMutex::TryResult::Failed:
                    return std::nullopt;
                case NamedMutex::TryResult::Busy:
                    break;
            }
        }
        if (stop.WaitFor(kPollInterval)) return std::nullopt;
    }
}

}  // namespace kestrova::platform
