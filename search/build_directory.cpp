#include "search/internal/build_directory.h"

#include <cerrno>
#include <string>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kestrova {
namespace {

// A file of the new index. Writes go to their position with pwrite; a failed one is recorded
// in the directory and dropped, as is everything after it.
class BuildOutput final : public lucene::store::BufferedIndexOutput {
public:
    BuildOutput(BuildDirectory& directory, std::string name, int fd)
        : directory_(directory), name_(std::move(name)), fd_(fd) {
        if (fd_ >= 0) directory_.Opened(fd_);
    }
    ~BuildOutput() override {
        // Closes here, while the object is whole: the base class would flush through a
        // function that no longer exists.
        if (!closed_) close();
    }

    void close() override {
        if (closed_) return;
        closed_ = true;
        BufferedIndexOutput::close();  // flushes the buffer
        if (fd_ >= 0 && !directory_.FilesClosed()) {
            directory_.Closed(fd_);
            if (::close(fd_) != 0) directory_.Fail(errno);
        }
        fd_ = -1;
    }
    void seek(const int64_t pos) override {
        BufferedIndexOutput::seek(pos);  // flushes at the old position first
        position_ = pos;
    }
    int64_t length() const override { return end_; }

protected:
    void flushBuffer(const uint8_t* bytes, const int32_t len) override {
        int64_t done = 0;
        while (done < len && fd_ >= 0 && !directory_.Failed() && !directory_.FilesClosed()) {
            const ssize_t n = ::pwrite(fd_, bytes + done, static_cast<size_t>(len - done),
                                       static_cast<off_t>(position_ + done));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                directory_.Fail(n < 0 ? errno : ENOSPC);
                break;
            }
            done += n;
        }
        // The position moves on as if all was written: the index is thrown away anyway.
        position_ += len;
        if (position_ > end_) end_ = position_;
        directory_.Written(name_, end_);
    }

private:
    BuildDirectory& directory_;
    const std::string name_;
    int fd_;
    bool closed_ = false;
    int64_t position_ = 0;
    int64_t end_ = 0;
};

}  // namespace

BuildDirectory::BuildDirectory(const std::string& path) {
    ::mkdir(path.c_str(), 0777);
    init(path.c_str());
}

lucene::store::IndexOutput* BuildDirectory::createOutput(const char* name) {
    const std::string path = std::string(getDirName()) + "/" + name;
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) Fail(errno);
    Written(name, 0);
    return new BuildOutput(*this, name, fd);
}

bool BuildDirectory::openInput(const char* name, lucene::store::IndexInput*& ret,
                               CLuceneError& error, int32_t bufferSize) {
    if (Failed()) {
        error.set(CL_ERR_IO, "index write failed");
        return false;
    }
    return FSDirectory::openInput(name, ret, error, bufferSize);
}

int64_t BuildDirectory::fileLength(const char* name) const {
    {
        // What was written, not what the disk holds: after a failed write, or with the folder
        // removed under the build, the library's checks of its own files still hold.
        std::lock_guard lock(lock_);
        const auto found = lengths_.find(name);
        if (found != lengths_.end()) return found->second;
    }
    return FSDirectory::fileLength(name);
}

void BuildDirectory::CloseFiles() {
    std::lock_guard lock(lock_);
    filesClosed_ = true;
    for (const int fd : open_) ::close(fd);
    open_.clear();
}

void BuildDirectory::Opened(int fd) {
    std::lock_guard lock(lock_);
    open_.insert(fd);
}

void BuildDirectory::Written(const std::string& name, int64_t length) {
    std::lock_guard lock(lock_);
    lengths_[name] = length;
}

void BuildDirectory::Closed(int fd) {
    std::lock_guard lock(lock_);
    open_.erase(fd);
}

void BuildDirectory::Fail(int error) {
    int none = 0;
    error_.compare_exchange_strong(none, error == 0 ? EIO : error);
}

}  // namespace kestrova
