#include "search/index_builder.h"

#include "exec/exec_control.h"
#include "exec/multi_exec_control.h"
#include "model/index_files.h"
#include "model/page/file_log.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "search/internal/analyzers.h"
#include "search/internal/build_directory.h"
#include "search/internal/index_lock_file.h"
#include "search/internal/library_error.h"

#include <CLucene.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <stdexcept>
#include <system_error>

#include <fcntl.h>
#include <stdio.h>
#include <sys/statvfs.h>

namespace kestrova {
namespace {

using lucene::document::Document;
using lucene::document::Field;
using lucene::index::IndexWriter;

constexpr int kStoredTokenized =
    static_cast<int>(Field::STORE_YES) | static_cast<int>(Field::INDEX_TOKENIZED);  // 33
constexpr int kStoredOnly =
    static_cast<int>(Field::STORE_YES) | static_cast<int>(Field::INDEX_NO);  // 17

void RemoveTree(const std::string& path) {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

bool IsDirectory(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored);
}

// False when the file system of the folder has (almost) no room left for this user.
bool HasRoom(const std::string& folder) {
    struct statvfs st {};
    if (::statvfs(folder.c_str(), &st) != 0) return true;
    return static_cast<unsigned long long>(st.f_bavail) * st.f_frsize >= 16 * 1024;
}

// Closes the writer on every way out (a build that failed or was stopped is removed with its
// folder afterwards). After a failed write the writer is abandoned instead: closing it would
// write and check what could not be written. So is a writer that cannot be closed: destroying
// it would close it once more, and an error thrown from a destructor ends the process.
class WriterGuard {
public:
    WriterGuard(IndexWriter* writer, BuildDirectory& directory)
        : writer_(writer), directory_(directory) {}
    ~WriterGuard() {
        if (!writer_) return;
        if (!directory_.Failed()) {
            try {
                writer_->close();
                delete writer_;
                return;
            } catch (...) {
            }
        }
        directory_.CloseFiles();  // the abandoned writer's files give their space back
    }
    IndexWriter* operator->() const { return writer_; }
    void Close() {
        writer_->close();
        delete writer_;
        writer_ = nullptr;
    }

private:
    IndexWriter* writer_;
    BuildDirectory& directory_;
};

}  // namespace

int32_t IndexProgressTotal(int32_t pages) {
    return static_cast<int32_t>(static_cast<double>(pages) * 1.07);
}

IndexBuilder::IndexBuilder(const std::u16string& dataFolder, IndexKind kind)
    : paths_(MakeIndexPaths(dataFolder, kind)),
      kind_(kind),
      log_(std::make_unique<FileLog>(paths_.log)) {
    extractor_.SetTitleWeight(7);
}

IndexBuilder::~IndexBuilder() = default;

IndexBuildResult IndexBuilder::Build(IIndexFiles& files, const ModelUid& uid,
                                     IExecControl& control) {
    failure_.clear();
    diskFull_ = false;
    try {
        return BuildLocked(files, uid, control);
    } catch (CLuceneError& e) {
        const bool full = diskFull_;
        log_->WriteFormat("%s: index library error: %s", paths_.tempDir.c_str(),
                          LibraryErrorText(e).c_str());
        failure_ = "can't build index " + paths_.tempDir + ": " +
                   (full              ? std::string("no space left on device")
                    : directoryError_ ? std::string(std::strerror(directoryError_))
                                      : LibraryErrorText(e));
        return IndexBuildResult::kFailed;
    }
}

IndexBuildResult IndexBuilder::BuildLocked(IIndexFiles& files, const ModelUid& uid,
                                           IExecControl& control) {
    std::error_code ignored;
    std::filesystem::create_directories(paths_.dataFolder, ignored);  // the lock files live there
    IndexLockFile tempLock(paths_.tempLock, IndexLockFile::Mode::kExclusive, &control);
    if (!tempLock.AcquireWithRetry()) return IndexBuildResult::kStopped;
    RemoveTree(paths_.tempDir);
    bool indexed = false;
    try {
        indexed = IndexAllPages(files, control);
    } catch (CLuceneError&) {
        // The library's write errors do not say why: the system's error of the failed write,
        // when nothing has replaced it since, or a disk without room tells.
        const int error = directoryError_ ? directoryError_ : errno;
        diskFull_ = error == ENOSPC || error == EDQUOT || !HasRoom(paths_.dataFolder);
        // Cleared at once, under the temporary lock: on a full disk the space is needed back.
        RemoveTree(paths_.tempDir);
        throw;
    }
    if (!indexed) {
        RemoveTree(paths_.tempDir);
        log_->WriteText("Indexing aborted\n");
        return IndexBuildResult::kAborted;
    }
    // A failed write leaves the index not current.
    WriteIndexIdentity(paths_.tempDir, uid);
    WriteIndexFingerprint(paths_.tempDir, AnalyzerFingerprint(kind_));
    const IndexBuildResult result = Swap(control);
    // After an exchange the temporary folder holds the old index.
    if (result == IndexBuildResult::kBuilt) RemoveTree(paths_.tempDir);
    return result;
}

IndexBuildResult IndexBuilder::Swap(IExecControl& control) {
    IndexLockFile liveLock(paths_.liveLock, IndexLockFile::Mode::kExclusive, &control);
    if (!liveLock.AcquireWithRetry()) {
        log_->WriteText("Cannot get file lock\n");
        return IndexBuildResult::kNoLiveLock;
    }
    if (!IsDirectory(paths_.liveDir)) {
        if (std::rename(paths_.tempDir.c_str(), paths_.liveDir.c_str()) == 0)
            return IndexBuildResult::kBuilt;
        log_->WriteText("Cannot move index directory");
        return IndexBuildResult::kSwapFailed;
    }
    // One atomic exchange: there is no moment without a live index.
    if (::renameat2(AT_FDCWD, paths_.tempDir.c_str(), AT_FDCWD, paths_.liveDir.c_str(),
                    RENAME_EXCHANGE) == 0) {
        return IndexBuildResult::kBuilt;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        log_->WriteText("Cannot move index directory");
        return IndexBuildResult::kSwapFailed;
    }
    // A file system without exchange: remove the old index, then move the new one in.
    RemoveTree(paths_.liveDir);
    if (IsDirectory(paths_.liveDir)) {
        log_->WriteText("Cannot delete old index directory");
        return IndexBuildResult::kSwapFailed;
    }
    if (std::rename(paths_.tempDir.c_str(), paths_.liveDir.c_str()) != 0) {
        log_->WriteText("Cannot move index directory");
        return IndexBuildResult::kSwapFailed;
    }
    return IndexBuildResult::kBuilt;
}

namespace {

// Owns the directory of a build; released after the writer that uses it.
struct DirectoryRelease {
    void operator()(BuildDirectory* directory) const {
        directory->close();
        _CLDECDELETE(directory);
    }
};

// A write of the new index failed (the directory recorded why): the build fails as on an
// error of the library itself.
void ThrowIfWriteFailed(const BuildDirectory& directory) {
    if (directory.Failed()) _CLTHROWA(CL_ERR_IO, "index write failed");
}

}  // namespace

bool IndexBuilder::IndexAllPages(IIndexFiles& files, IExecControl& control) {
    std::unique_ptr<lucene::analysis::Analyzer> analyzer = CreateAnalyzer(kind_);
    std::unique_ptr<BuildDirectory, DirectoryRelease> directory(new BuildDirectory(paths_.tempDir));
    directoryError_ = 0;
    struct KeepError {  // the directory's error outlives it
        const BuildDirectory& directory;
        int& error;
        ~KeepError() { error = directory.Error(); }
    } keep{*directory, directoryError_};
    WriterGuard writer(new IndexWriter(directory.get(), analyzer.get(), true), *directory);
    writer->setMaxFieldLength(INT32_MAX);
    log_->WriteText("Indexing started");
    const int32_t count = files.GetCount();
    ExecProgress progress{kStageIndexing, 0, IndexProgressTotal(count)};
    control.ReportProgress(progress);
    for (int32_t i = 0; i < count; ++i) {
        if (control.ShouldBreak()) return false;
        const char16_t* fullPath = files.GetFullPath(i);
        try {
            extractor_.Extract(platform::NativePath(fullPath ? fullPath : u""));
            const std::wstring relPath =
                platform::Utf16ToWide(files.GetName(i) ? files.GetName(i) : u"");
            Document doc;
            doc.add(*_CLNEW Field(L"text", extractor_.GetText(), kStoredTokenized));
            doc.add(*_CLNEW Field(L"relPath", relPath.c_str(), kStoredOnly));
            writer->addDocument(&doc);
            ThrowIfWriteFailed(*directory);
        } catch (const std::runtime_error& e) {
            log_->WriteFormat("%S: indexing error: %s\n", fullPath ? fullPath : u"", e.what());
            return false;
        }
        progress.current = i + 1;
        control.ReportProgress(progress);
    }
    writer->optimize();
    ThrowIfWriteFailed(*directory);
    writer.Close();
    ThrowIfWriteFailed(*directory);
    log_->WriteText("Indexing finished");
    return true;
}

void BuildIndexes(IIndexFiles& files, const std::u16string& dataFolder, const ModelUid& uid,
                  IExecControl& control) {
    MultiExecControl phases(control, kIndexKindCount);
    for (const IndexKind kind : kIndexKinds) {
        phases.SetIndex(kind);
        if (IsIndexCurrent(dataFolder, kind, uid)) continue;
        IndexBuilder builder(dataFolder, kind);
        if (builder.Build(files, uid, phases) == IndexBuildResult::kFailed)
            throw std::runtime_error(builder.Failure());
    }
}

}  // namespace kestrova
