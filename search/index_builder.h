// Building the full-text indexes of a knowledge base in its data folder.
//
// A build of one kind runs under the kind's temporary lock file: it writes a new CLucene
// index into D/tmp_text_idxS, stamps it with the model identifier (idx_info.uid) and the
// analyzer's fingerprint (idx_analyzer.txt), then, under the live lock file (which excludes
// every searcher), swaps it with D/text_idxS in one atomic rename, so the live folder always
// holds a complete index, also when the process dies at any moment. Each build writes
// D/indexS.log. Runs on the search thread.
#pragma once

#include "search/index_store.h"
#include "search/text_extractor.h"

#include <cstdint>
#include <memory>
#include <string>

namespace lucene::analysis {
class Analyzer;
}

namespace kestrova {

class IExecControl;
class IIndexFiles;
class ILog;

// How a build of one kind ended.
enum class IndexBuildResult {
    kBuilt,       // the new index is live
    kStopped,     // the control asked to stop before the temporary lock was had
    kAborted,     // indexing failed or was stopped ("Indexing aborted")
    kNoLiveLock,  // stopped while waiting for the live lock ("Cannot get file lock")
    kSwapFailed,  // the old index could not be removed or the new one not moved
    kFailed,      // the index library failed ("PATH: index library error: DETAIL")
};

class IndexBuilder {
public:
    // A builder of one kind in the data folder; opens (replaces) the kind's log. Throws
    // std::runtime_error("unknown index kind") for a kind other than 0 and 1.
    IndexBuilder(const std::u16string& dataFolder, IndexKind kind);
    ~IndexBuilder();
    IndexBuilder(const IndexBuilder&) = delete;
    IndexBuilder& operator=(const IndexBuilder&) = delete;

    // Builds the index of the pages and makes it live. Progress: stage 3, current 0..n, total
    // n * 1.07. An error of the index library itself is logged with the temporary folder's
    // path and gives kFailed (locks are released, the temporary folder is removed, Failure()
    // says what failed); a lock file that cannot be used throws std::runtime_error (see
    // IndexLockFile); other exceptions propagate.
    IndexBuildResult Build(IIndexFiles& files, const ModelUid& uid, IExecControl& control);

    const IndexPaths& Paths() const { return paths_; }
    // After kFailed, what failed: "can't build index TEMPFOLDER: no space left on device" or
    // the library's own words in place of the reason.
    const std::string& Failure() const { return failure_; }

private:
    IndexBuildResult BuildLocked(IIndexFiles& files, const ModelUid& uid, IExecControl& control);
    bool IndexAllPages(IIndexFiles& files, IExecControl& control);
    IndexBuildResult Swap(IExecControl& control);

    IndexPaths paths_;
    IndexKind kind_;
    TextExtractor extractor_;
    std::unique_ptr<ILog> log_;
    std::string failure_;
    bool diskFull_ = false;   // the library's failure came from a full disk
    int directoryError_ = 0;  // the system error of a failed write of the new index
};

// Builds every kind whose live index does not carry the identifier, kind 0 then kind 1, each
// as one phase of a MultiExecControl of two phases over `control`. A kind that fails in the
// index library (kFailed) ends the whole build with std::runtime_error(Failure()).
void BuildIndexes(IIndexFiles& files, const std::u16string& dataFolder, const ModelUid& uid,
                  IExecControl& control);

// Progress total of a build over n pages.
int32_t IndexProgressTotal(int32_t pages);

}  // namespace kestrova
