#include "search/index_store.h"

#include "platform/file.h"
#include "platform/path.h"
#include "search/internal/analyzers.h"

#include <stdexcept>

namespace kestrova {
namespace {

constexpr const char* kFingerprintFile = "idx_analyzer.txt";
// Far more than any fingerprint; a larger file is not one.
constexpr size_t kMaxFingerprint = 4096;

}  // namespace

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
    paths.fingerprintFile = paths.liveDir + "/" + kFingerprintFile;
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

std::optional<std::string> ReadIndexFingerprint(const std::string& indexDir) {
    platform::File file;
    if (file.Open(indexDir + "/" + kFingerprintFile, platform::File::Access::kReadShared) !=
        platform::File::OpenResult::kOk) {
        return std::nullopt;
    }
    std::string text(kMaxFingerprint + 1, '\0');
    size_t got = 0;
    while (got < text.size()) {
        const long long n = file.Read(text.data() + got, text.size() - got);
        if (n < 0) return std::nullopt;
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    if (got > kMaxFingerprint) return std::nullopt;
    text.resize(got);
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

bool WriteIndexFingerprint(const std::string& indexDir, const std::string& fingerprint) {
    platform::File file;
    if (file.Open(indexDir + "/" + kFingerprintFile, platform::File::Access::kWriteExclusive) !=
        platform::File::OpenResult::kOk) {
        return false;
    }
    const std::string line = fingerprint + "\n";
    return file.Write(line.data(), line.size()) && file.Sync();
}

IndexState GetIndexState(const std::u16string& dataFolder, IndexKind kind, const ModelUid& uid) {
    const std::string liveDir = MakeIndexPaths(dataFolder, kind).liveDir;
    const std::optional<ModelUid> stored = ReadIndexIdentity(liveDir);
    if (!stored) return IndexState::kMissing;
    if (*stored != uid) return IndexState::kStale;
    const std::optional<std::string> fingerprint = ReadIndexFingerprint(liveDir);
    return fingerprint && *fingerprint == AnalyzerFingerprint(kind) ? IndexState::kCurrent
                                                                    : IndexState::kStale;
}

bool IsIndexCurrent(const std::u16string& dataFolder, IndexKind kind, const ModelUid& uid) {
    return GetIndexState(dataFolder, kind, uid) == IndexState::kCurrent;
}

bool AreIndexesCurrent(const std::u16string& dataFolder, const ModelUid& uid) {
    return IsIndexCurrent(dataFolder, kIndexLemmatizing, uid) &&
           IsIndexCurrent(dataFolder, kIndexPrecise, uid);
}

}  // namespace kestrova
