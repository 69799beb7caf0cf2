#include "search/index_store.h"

#include "platform/file.h"
#include "platform/path.h"

#include <stdexcept>

namespace kestrova {

const char* IndexSuffix(IndexKind kind) {
    switch (kind) {
        case kIndexLemmatizing:
            return "_lem";
        case kIndexPrecise:
            return "_prec";
        default:
            throw std::runtime_error("unknown index kind");
    }
}

IndexPaths MakeIndexPaths(const std::u16string& dataFolder, IndexKind kind) {
    const std::string suffix = IndexSuffix(kind);
    IndexPaths paths;
    paths.dataFolder = platform::NativePath(dataFolder);
    const std::string base = paths.dataFolder + "/";
    paths.liveDir = base + "text_idx" + suffix;
    paths.identityFile = paths.liveDir + "/idx_info.uid";
    paths.tempDir = base + "tmp_text_idx" + suffix;
    paths.liveLock = base + "index" + suffix + ".lck";
    paths.tempLock = base + "tmp_index" + suffix + ".lck";
    paths.log = base + "index" + suffix + ".log";
    return paths;
}

std::optional<ModelUid> ReadIndexIdentity(const std::string& indexDir) {
    platform::File file;
    if (file.Open(indexDir + "/idx_info.uid", platform::File::Access::kReadShared) !=
        platform::File::OpenResult::kOk) {
        return std::nullopt;
    }
    ModelUid uid{};
    size_t got = 0;
    while (got < uid.size()) {
        const long long n = file.Read(uid.data() + got, uid.size() - got);
        if (n <= 0) return std::nullopt;
        got += static_cast<size_t>(n);
    }
    return uid;
}

bool WriteIndexIdentity(const std::string& indexDir, const ModelUid& uid) {
    platform::File file;
    if (file.Open(indexDir + "/idx_info.uid", platform::File::Access::kWriteExclusive) !=
        platform::File::OpenResult::kOk) {
        return false;
    }
    return file.Write(uid.data(), uid.size()) && file.Sync();
}

IndexState GetIndexState(const std::u16string& dataFolder, IndexKind kind, const ModelUid& uid) {
    const std::optional<ModelUid> stored =
        ReadIndexIdentity(MakeIndexPaths(dataFolder, kind).liveDir);
    if (!stored) return IndexState::kMissing;
    return *stored == uid ? IndexState::kCurrent : IndexState::kStale;
}

bool IsIndexCurrent(const std::u16string& dataFolder, IndexKind kind, const ModelUid& uid) {
    return GetIndexState(dataFolder, kind, uid) == IndexState::kCurrent;
}

bool AreIndexesCurrent(const std::u16string& dataFolder, const ModelUid& uid) {
    return IsIndexCurrent(dataFolder, kIndexLemmatizing, uid) &&
           IsIndexCurrent(dataFolder, kIndexPrecise, uid);
}

}  // namespace kestrova
