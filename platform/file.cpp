#include "platform/file.h"

#include "platform/io_error.h"
#include "platform/path.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>

namespace kestrova::platform {

namespace {

// 0 when `fd` is a regular file; otherwise the error that says why it is not one.
int NotRegular(int fd) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) return errno;
    if (S_ISREG(st.st_mode)) return 0;
    return S_ISDIR(st.st_mode) ? EISDIR : kNotRegularFile;
}

}  // namespace

File::File(File&& other) noexcept : fd_(other.fd_), error_(other.error_) { other.fd_ = -1; }

File& File::operator=(File&& other) noexcept {
    if (this != &other) {
        Close();
        fd_ = other.fd_;
        error_ = other.error_;
        other.fd_ = -1;
    }
    return *this;
}

File::~File() { Close(); }

File::OpenResult File::Open(const std::string& path, Access access) {
    return OpenAt(AT_FDCWD, path, access);
}

File::OpenResult File::OpenAt(int dirFd, const std::string& path, Access access) {
    Close();
    int flags = O_CLOEXEC;
    int lock = LOCK_SH;
    switch (access) {
        case Access::kReadShared:
            flags |= O_RDONLY;
            break;
        // No O_TRUNC here: the file is truncated only once the lock is held.
        case Access::kWriteExclusive:
            flags |= O_WRONLY | O_CREAT;
            lock = LOCK_EX;
            break;
        case Access::kAppendShared:
            flags |= O_WRONLY | O_CREAT | O_APPEND;
            lock = LOCK_EX;
            break;
    }
    // Without blocking: a pipe put in the place of a file would hold the open until a writer
    // (or reader) comes, which may be never. Only regular files are files here.
    const int fd = ::openat(dirFd, path.c_str(), flags | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        error_ = errno;
        return error_ == ENOENT ? OpenResult::kNotFound : OpenResult::kFailed;
    }
    if (const int notRegular = NotRegular(fd); notRegular != 0) {
        error_ = notRegular;
        ::close(fd);
        return OpenResult::kFailed;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (::flock(fd, lock | LOCK_NB) != 0) {
        error_ = errno;
        ::close(fd);
        return error_ == EWOULDBLOCK ? OpenResult::kSharingViolation : OpenResult::kFailed;
    }
    if (access != Access::kReadShared && ::ftruncate(fd, 0) != 0) {
        error_ = errno;
        ::close(fd);
        return OpenResult::kFailed;
    }
    if (access == Access::kAppendShared) {
        // The writer of a log keeps it for itself only while truncating; readers may look in.
        ::flock(fd, LOCK_SH | LOCK_NB);
    }
    fd_ = fd;
    error_ = 0;
    return OpenResult::kOk;
}

long long File::Read(void* buffer, size_t n) {
    for (;;) {
        const ssize_t r = ::read(fd_, buffer, n);
        if (r >= 0) return r;
        if (errno == EINTR) continue;
        error_ = errno;
        return -1;
    }
}

bool File::Write(const void* buffer, size_t n) {
    const char* p = static_cast<const char*>(buffer);
    while (n > 0) {
        const ssize_t w = ::write(fd_, p, n);
        if (w < 0) {
            if (errno == EINTR) continue;
            error_ = errno;
            return false;
        }
        p += w;
        n -= static_cast<size_t>(w);
    }
    return true;
}

bool File::Sync() {
    if (::fsync(fd_) == 0) return true;
    error_ = errno;
    return false;
}

long long File::Size() const {
    struct stat st {};
    if (::fstat(fd_, &st) != 0) return -1;
    return st.st_size;
}

namespace {

FileStamp StampOf(const struct stat& st) {
    return FileStamp{FileTimeFromTimespec(st.st_mtim), static_cast<uint64_t>(st.st_size)};
}

}  // namespace

bool File::Stamp(FileStamp& stamp) const {
    struct stat st {};
    if (fd_ < 0 || ::fstat(fd_, &st) != 0) return false;
    stamp = StampOf(st);
    return true;
}

bool StampAt(int dirFd, const std::string& path, FileStamp& stamp) {
    struct stat st {};
    if (::fstatat(dirFd, path.c_str(), &st, 0) != 0) return false;
    stamp = StampOf(st);
    return true;
}

void File::Close() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

std::string ReadWholeFile(const std::string& path, size_t maxBytes) {
    File file;
    if (file.Open(path, File::Access::kReadShared) != File::OpenResult::kOk) {
        throw io_error("cannot open file: " + path, file.LastError());
    }
    std::string data;
    char buffer[65536];
    while (data.size() < maxBytes) {
        const size_t want = std::min(sizeof buffer, maxBytes - data.size());
        const long long got = file.Read(buffer, want);
        if (got < 0) throw io_error("read file error: " + path, file.LastError());
        if (got == 0) break;
        data.append(buffer, static_cast<size_t>(got));
    }
    return data;
}

}  // namespace kestrova::platform
