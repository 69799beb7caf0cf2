// Where the two full-text indexes of a knowledge base live in its data folder.
//
// Kind 0 is the lemmatizing index (suffix "_lem"), kind 1 the precise index ("_prec"). For a
// data folder D and suffix S: D/text_idxS is the live index, D/text_idxS/idx_info.uid its model
// identity, D/text_idxS/idx_analyzer.txt the fingerprint of the analyzer it was built with,
// D/tmp_text_idxS the folder a new index is built in, D/indexS.lck and D/tmp_indexS.lck the
// lock files of the two folders, D/indexS.log the log of the last build.
#pragma once

#include "search/index_kind.h"

#include <cstdint>
#include <optional>
#include <string>

namespace kestrova {

// The paths of one index kind, all native UTF-8.
struct IndexPaths {
    std::string dataFolder;
    std::string liveDir;
    std::string identityFile;
    std::string fingerprintFile;
    std::string tempDir;
    std::string liveLock;
    std::string tempLock;
    std::string log;
};

// "_lem" or "_prec". Throws std::runtime_error("unknown index kind") for any other kind.
const char* IndexSuffix(IndexKind kind);

// The paths of a kind in the data folder (UTF-16, either separator). Throws as IndexSuffix.
IndexPaths MakeIndexPaths(const std::u16string& dataFolder, IndexKind kind);

// The identity stored in a folder's idx_info.uid: exactly 16 bytes read from a file that can
// be opened with no sharing, or nothing.
std::optional<ModelUid> ReadIndexIdentity(const std::string& indexDir);

// Writes idx_info.uid into the folder (create or replace, no sharing); false on failure.
bool WriteIndexIdentity(const std::string& indexDir, const ModelUid& uid);

// The analyzer fingerprint in a folder's idx_analyzer.txt (its one line), or nothing.
std::optional<std::string> ReadIndexFingerprint(const std::string& indexDir);

// Writes idx_analyzer.txt into the folder (create or replace, no sharing); false on failure.
bool WriteIndexFingerprint(const std::string& indexDir, const std::string& fingerprint);

// Whether the live index of the kind belongs to the model: it carries the identifier and was
// built under the kind's AnalyzerFingerprint (current), carries something else (stale: another
// model, or another analyzer, or no fingerprint), or is not there (missing).
IndexState GetIndexState(const std::u16string& dataFolder, IndexKind kind, const ModelUid& uid);

// True when the live index of the kind is current (see GetIndexState).
bool IsIndexCurrent(const std::u16string& dataFolder, IndexKind kind, const ModelUid& uid);

// True when both kinds are current.
bool AreIndexesCurrent(const std::u16string& dataFolder, const ModelUid& uid);

}  // namespace kestrova
