// Searcher: the ISearcher over the live index of one kind in a data folder. It holds the live
// lock file shared for its whole life, so no index builder swaps the index under it. One
// object per search; not thread-safe.
#pragma once

#include "search/index_lock_file.h"
#include "search/index_store.h"
#include "search/searcher.h"

#include <CLucene.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kestrova {

class Searcher final : public ISearcher {
public:
    // Takes the live lock of the kind once, without waiting; when a builder holds it, waits
    // 200 ms and stays without an index (every Search then fails). Otherwise opens the index;
    // a missing or broken index throws the library's CLuceneError. Throws
    // std::runtime_error("unknown index kind") for a kind other than 0 and 1.
    Searcher(const std::u16string& dataFolder, int32_t kind, bool queryLanguage);
    ~Searcher() override;

    // The relative path of every hit, best first (the stored field "relPath" of each hit).
    bool Search(const std::u16string& query, std::vector<std::u16string>& paths) override;

    // The document numbers of every hit, best first; false as Search. Document n of an index
    // whose Identity is a model's identifier is the n-th page of that model's page list.
    bool SearchDocuments(const std::u16string& query, std::vector<int32_t>& documents);
    // The stored relative path of a document (its page text is not loaded); nothing when the
    // document cannot be read.
    std::optional<std::u16string> StoredPath(int32_t document);
    // The identifier in the open index's idx_info.uid, read under the live lock; nothing when
    // there is no index or no readable identity.
    const std::optional<ModelUid>& Identity() const { return identity_; }
    // Number of documents of the open index (0 without one).
    int32_t DocumentCount() const;

    bool HasIndex() const { return searcher_ != nullptr; }

private:
    IndexLockFile lock_;
    int32_t kind_;
    bool queryLanguage_;
    std::unique_ptr<lucene::analysis::Analyzer> analyzer_;
    std::unique_ptr<lucene::search::IndexSearcher> searcher_;
    std::optional<ModelUid> identity_;
};

// The query text as the parser gets it: in query-language mode with every colon replaced by a
// space (only the field "text" is searched), otherwise with a backslash before each of
// + - & | ! ( ) { } [ ] ^ " ~ * ? : \ and before the operator words AND, OR and NOT, so the
// query is a plain list of words.
std::u16string PrepareQueryText(const std::u16string& query, bool queryLanguage);

}  // namespace kestrova
