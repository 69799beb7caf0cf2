#include "search/internal/index_lock_file.h"

#include "exec/exec_control.h"

#include <cerrno>
#include <chrono>
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
    const int operation = (mode_ == Mode::kExclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    // A few rounds at most: a round is repeated only when a builder releasing the file removed
    // it between our open and our lock.
    for (int round = 0; round < 8; ++round) {
        const int fd = ::open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (fd < 0) return false;
        if (::flock(fd, operation) != 0) {
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

bool IndexLockFile::AcquireWithRetry() {
    auto wait = kStep;
    for (;;) {
        if (ShouldStop()) return false;
        if (TryAcquire()) return true;
        for (auto slept = std::chrono::milliseconds(0); slept < wait; slept += kStep) {
            if (ShouldStop()) return false;
            std::this_thread::sleep_for(kStep);
        }
        wait += kStep;
    }
}

void IndexLockFile::Release() {
    if (!IsHeld()) return;
    // Only a builder removes the file, while it holds it alone. A searcher just closes: to
    // find out whether it was the last one it would have to take the lock exclusively, and
    // for that moment every searcher of another process would be turned away as if a build
    // were running.
    if (mode_ == Mode::kExclusive && SameFile(fd_, path_)) ::unlink(path_.c_str());
    ::close(fd_);
    fd_ = -1;
}

}  // namespace kestrova
