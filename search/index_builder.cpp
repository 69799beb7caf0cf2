#include "search/index_builder.h"

#include "exec/exec_control.h"
#include "exec/multi_exec_control.h"
#include "model/index_files.h"
#include "model/page/file_log.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "search/internal/analyzers.h"
#include "search/internal/index_lock_file.h"
#include "search/internal/library_error.h"

#include <CLucene.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <stdio.h>

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

// Closes (or, after a failure, abandons) the writer on every way out.
class WriterGuard {
public:
    explicit WriterGuard(IndexWriter* writer) : writer_(writer) {}
    ~WriterGuard() {
        if (!writer_) return;
        try {
            writer_->abort();
        } catch (...) {
        }
        delete writer_;
    }
    IndexWriter* operator->() const { return writer_; }
    void Close() {
        writer_->close();
        delete writer_;
        writer_ = nullptr;
    }

private:
    IndexWriter* writer_;
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
    try {
        return BuildLocked(files, uid, control);
    } catch (CLuceneError& e) {
        log_->WriteFormat("%s: index library error: %s", paths_.tempDir.c_str(),
                          LibraryErrorText(e).c_str());
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
    if (!IndexAllPages(files, control)) {
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

bool IndexBuilder::IndexAllPages(IIndexFiles& files, IExecControl& control) {
    std::unique_ptr<lucene::analysis::Analyzer> analyzer = CreateAnalyzer(kind_);
    WriterGuard writer(new IndexWriter(paths_.tempDir.c_str(), analyzer.get(), true));
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
        } catch (const std::runtime_error& e) {
            log_->WriteFormat("%S: indexing error: %s\n", fullPath ? fullPath : u"", e.what());
            return false;
        }
        progress.current = i + 1;
        control.ReportProgress(progress);
    }
    writer->optimize();
    log_->WriteText("Indexing finished");
    writer.Close();
    return true;
}

void BuildIndexes(IIndexFiles& files, const std::u16string& dataFolder, const ModelUid& uid,
                  IExecControl& control) {
    MultiExecControl phases(control, kIndexKindCount);
    for (const IndexKind kind : kIndexKinds) {
        phases.SetIndex(kind);
        if (IsIndexCurrent(dataFolder, kind, uid)) continue;
        if (IndexBuilder(dataFolder, kind).Build(files, uid, phases) == IndexBuildResult::kFailed)
            return;
    }
}

}  // namespace kestrova
