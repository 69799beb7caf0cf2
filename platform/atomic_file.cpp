#include "platform/atomic_file.h"

#include "platform/io_error.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

namespace kestrova::platform {
namespace {

std::string TempNameFor(const std::string& path) {
    static std::atomic<unsigned> counter{0};
    return path + ".tmp." + std::to_string(getpid()) + "." + std::to_string(++counter);
}

void WriteAll(int fd, std::string_view bytes, const std::string& path) {
    while (!bytes.empty()) {
        ssize_t n = write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) throw io_error("write file error: " + path, n < 0 ? errno : 0);
        bytes.remove_prefix(static_cast<size_t>(n));
    }
}

// The rename is durable only once the folder entry is on the device too.
void SyncParentFolder(const std::string& path) {
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

}  // namespace

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::string temp = TempNameFor(path);
    int fd = open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) throw io_error("cannot create file: " + temp, errno);
    try {
        WriteAll(fd, bytes, temp);
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
    SyncParentFolder(path);
}

}  // namespace kestrova::platform
