#include "search/internal/index_lock_file.h"

#include "exec/exec_control.h"
#include "platform/lock_wait.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrova {
namespace {

constexpr std::chrono::milliseconds kStep{200};

// True when the descriptor and the path name the same file.
bool SameFile(int fd, const std::string& path) {
    struct stat a {
    }, b{};
    return ::fstat(fd, &a) == 0 && ::stat(path.c_str(), &b) == 0 && a.st_dev == b.st_dev &&
           a.st_ino == b.st_ino;
}

}  // namespace

IndexLockFile::IndexLockFile(std::string path, Mode mode, IExecControl* control)
    : path_(std::move(path)), mode_(mode), control_(control) {}

IndexLockFile::~IndexLockFile() { Release(); }

bool IndexLockFile::ShouldStop() const { return control_ && control_->ShouldBreak(); }

bool IndexLockFile::TryAcquire() {
    if (IsHeld()) return true;
    error_.clear();
    const int operation = (mode_ == Mode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    // A few rounds at most: a round is repeated only when a builder releasing the file removed
    // it between our open and our lock.
    for (int round = 0; round < 8; ++round) {
        const int fd = Open();
        if (fd < 0) return unlocked_;
        if (::flock(fd, operation) != 0) {
            if (errno != EWOULDBLOCK) Fail(errno);
            ::close(fd);
            return false;
        }
        if (SameFile(fd, path_)) {
            fd_ = fd;
            return true;
        }
        ::close(fd);
    }
    return false;
}

int IndexLockFile::Open() {
    // Never blocks (a FIFO in the file's place would) and never follows a link.
    constexpr int kFlags = O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC;
    int fd = -1;
    if (mode_ == Mode::kShared) {
        // Reading is enough for a shared lock, also in a folder that cannot be written.
        fd = ::open(path_.c_str(), O_RDONLY | kFlags);
        if (fd < 0 && errno == ENOENT) {
            fd = ::open(path_.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
            if (fd < 0 && (errno == EACCES || errno == EROFS) && IsReadOnlyFolder()) {
                unlocked_ = true;
                return -1;
            }
        }
    } else {
        fd = ::open(path_.c_str(), O_RDWR | O_CREAT | kFlags, 0666);
    }
    if (fd < 0) {
        Fail(errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        error_ = "can't open lock file " + path_ + ": not a regular file";
        ::close(fd);
        return -1;
    }
    return fd;
}

bool IndexLockFile::IsReadOnlyFolder() const {
    const std::string folder = path_.substr(0, path_.find_last_of('/') + 1);
    struct stat st {};
    return ::stat(folder.empty() ? "." : folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) &&
           ::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0;
}

void IndexLockFile::Fail(int error) {
    error_ = "can't open lock file " + path_ + ": " + std::strerror(error);
}

bool IndexLockFile::AcquireWithRetry() {
    auto wait = kStep;
    std::optional<platform::LockWait> bound;  // from the first attempt that finds it held
    for (;;) {
        if (ShouldStop()) return false;
        if (TryAcquire()) return true;
        if (!error_.empty()) throw std::runtime_error(error_);
        if (!bound) bound.emplace("lock file " + path_, std::vector<std::string>{path_});
        for (auto slept = std::chrono::milliseconds(0); slept < wait; slept += kStep) {
            if (ShouldStop()) return false;
            if (!bound->KeepWaiting()) throw std::runtime_error(bound->GiveUpMessage());
            std::this_thread::sleep_for(kStep);
        }
        wait += kStep;
    }
}

void IndexLockFile::Release() {
    unlocked_ = false;
    if (fd_ < 0) return;
    // Only a builder removes the file, while it holds it alone. A searcher just closes: to
    // find out whether it was the last one it would have to take the lock exclusively, and
    // for that moment every searcher of another process would be turned away as if a build
    // were running.
    if (mode_ == Mode::kExclusive && SameFile(fd_, path_)) ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace kestrova
