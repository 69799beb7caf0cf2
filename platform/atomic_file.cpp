#include "platform/atomic_file.h"

#include "platform/io_error.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string_view>

namespace kestrova::platform {
namespace {

constexpr long kAbandonedAfterSeconds = 3600;
constexpr const char* kTempInfix = ".tmp.";  // NAME.tmp.PID.N beside NAME

std::string TempNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + kTempInfix + std::to_string(getpid()) + "." + std::to_string(++counter);
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw io_error("write file error: " + path, n < 0 ? errno : 0);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

// A temporary file of `base` (a file name) left by a writer that died before its rename: it
// names a process that no longer runs and has not been touched for an hour (a live writer
// takes moments; the age keeps the files of writers in other process namespaces safe).
bool IsAbandonedTemp(int folderFd, const std::string& base, const char* name) {
    const std::string prefix = base + kTempInfix;
    if (std::string_view(name).substr(0, prefix.size()) != prefix) return false;
    char* end = nullptr;
    const long pid = std::strtol(name + prefix.size(), &end, 10);
    if (pid <= 0 || *end != '.' || pid == getpid()) return false;
    if (kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH) return false;
    struct stat st {};
    if (fstatat(folderFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0 || !S_ISREG(st.st_mode))
        return false;
    return std::time(nullptr) - st.st_mtime > kAbandonedAfterSeconds;
}

// After the rename of `path`: flushes its folder, for the rename is durable only once the
// folder entry is on the device too, and removes the temporary files that writers of `path`
// killed before their rename left there.
void FinishInFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : path.substr(0, slash);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    DIR* dir = fdopendir(fd);  // takes the descriptor
    if (!dir) {
        close(fd);
        return;
    }
    while (const dirent* entry = readdir(dir)) {
        if (IsAbandonedTemp(fd, base, entry->d_name)) unlinkat(fd, entry->d_name, 0);
    }
    closedir(dir);
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
    ReplaceFileWith(path, [&](const PieceWriter& write) { write(bytes); });
}

void ReplaceFileWith(const std::string& path,
                     const std::function<void(const PieceWriter&)>& produce) {
    const std::string temp = TempNameFor(path);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) throw io_error("cannot create file: " + temp, errno);
    try {
        std::optional<io_error> failure;
        produce([&](std::string_view piece) {
            if (failure) return false;
            try {
                WriteAll(fd, piece, temp);
            } catch (const io_error& e) {
                failure = e;
            }
            return !failure;
        });
        if (failure) throw *failure;
        if (fsync(fd) != 0) throw io_error("write file error: " + temp, errno);
    } catch (...) {
        close(fd);
        unlink(temp.c_str());
        throw;
    }
    if (close(fd) != 0) {
        int error = errno;
        unlink(temp.c_str());
        throw io_error("write file error: " + temp, error);
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        int error = errno;
        unlink(temp.c_str());
        throw io_error("cannot replace file: " + path, error);
    }
    FinishInFolder(path);
}

}  // namespace kestrova::platform
