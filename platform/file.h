// A file handle with the sharing rules of the system: readers share a file, a writer has it
// alone. Sharing is an advisory flock taken without waiting; a lock that cannot be had is a
// sharing violation, which callers retry by their own rules. Not thread-safe; move-only.
#pragma once

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <string>

namespace kestrova::platform {

// What the system says of a file beside its contents: the last-write time (100 ns since
// 1601-01-01 UTC) and the size in bytes.
struct FileStamp {
    uint64_t lastWriteTime = 0;
    uint64_t size = 0;
};

// The error of opening a pipe, device or socket as a file: ENXIO ("No such device or
// address"), what opening a pipe for writing without waiting gives.
inline constexpr int kNotRegularFile = ENXIO;

class File {
public:
    enum class Access {
        kReadShared,      // read only, other readers allowed (shared lock)
        kWriteExclusive,  // write only, created or truncated, nobody else (exclusive lock)
        kAppendShared,    // append only, created or truncated, readers allowed (for logs)
    };
    enum class OpenResult { kOk, kNotFound, kSharingViolation, kFailed };

    File() = default;
    File(File&& other) noexcept;
    File& operator=(File&& other) noexcept;
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    ~File();

    // Opens a file by its native path, without blocking. Only a regular file (symbolic links
    // followed) is opened: anything else fails with EISDIR for a folder and kNotRegularFile
    // for a pipe, device or socket. On failure the handle stays closed and LastError() holds
    // the errno value.
    OpenResult Open(const std::string& path, Access access);
    // The same for a path relative to the open folder `dirFd` (AT_FDCWD: the current folder).
    OpenResult OpenAt(int dirFd, const std::string& path, Access access);
    // Reads up to n bytes; returns the number read (0 at end of file), or -1 on error.
    long long Read(void* buffer, size_t n);
    // Writes all n bytes; false on error.
    bool Write(const void* buffer, size_t n);
    // Flushes written data to the device.
    bool Sync();
    // Size of the open file in bytes, or -1 on error.
    long long Size() const;
    // The stamp of the open file; false on error.
    bool Stamp(FileStamp& stamp) const;
    void Close();

    bool IsOpen() const { return fd_ >= 0; }
    int LastError() const { return error_; }
    int Descriptor() const { return fd_; }

private:
    int fd_ = -1;
    int error_ = 0;
};

// The stamp of the file (symbolic links followed) at `path` relative to the open folder
// `dirFd` (AT_FDCWD: the current folder); false when it cannot be had.
bool StampAt(int dirFd, const std::string& path, FileStamp& stamp);

// Reads a whole file (at most maxBytes) with read sharing. Throws io_error with the messages
// "cannot open file" or "read file error" followed by ": " and the path.
std::string ReadWholeFile(const std::string& path, size_t maxBytes = SIZE_MAX);

}  // namespace kestrova::platform
