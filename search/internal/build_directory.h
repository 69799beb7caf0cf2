// The directory a new index is written into. The index library cannot survive a failed write:
// an output whose write fails is destroyed with its buffer still full, and the library then
// calls a pure virtual function and the process aborts (a full disk, a folder removed under
// the build). So the outputs of this directory never throw: the first system error of a write
// or of creating a file is recorded, and every later write is dropped. The build asks Failed()
// after each document and at the end and throws the index away when it is true; reading the
// files back may then fail, but only with the library's ordinary errors.
#pragma once

#include <CLucene.h>

#include <atomic>
#include <map>
#include <mutex>
#include <set>
#include <string>

namespace kestrova {

class BuildDirectory final : public lucene::store::FSDirectory {
public:
    // The directory at the native path, which is created when missing.
    explicit BuildDirectory(const std::string& path);

    lucene::store::IndexOutput* createOutput(const char* name) override;
    bool openInput(const char* name, lucene::store::IndexInput*& ret, CLuceneError& error,
                   int32_t bufferSize = -1) override;
    int64_t fileLength(const char* name) const override;

    // Closes every file still open for writing, so that a failed build abandoned with its
    // writer gives its disk space back once the files are removed.
    void CloseFiles();
    bool FilesClosed() const { return filesClosed_.load(); }
    // Called by the outputs: a file opened, written up to `length`, or closed.
    void Opened(int fd);
    void Written(const std::string& name, int64_t length);
    void Closed(int fd);

    // True once a write or a file creation has failed.
    bool Failed() const { return error_.load() != 0; }
    // The system error number of the first failure (0 when none).
    int Error() const { return error_.load(); }
    // Records a failure; the first one is kept.
    void Fail(int error);

private:
    std::atomic<int> error_{0};
    std::atomic<bool> filesClosed_{false};
    mutable std::mutex lock_;
    std::map<std::string, int64_t> lengths_;  // guarded by lock_: what each file should hold
    std::set<int> open_;                      // guarded by lock_: descriptors of open outputs
};

}  // namespace kestrova
