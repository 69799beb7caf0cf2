// One query on one live full-text index: ISearcher, and Searcher, its implementation over the
// live index of one kind in a data folder.
//
// A Searcher holds the live lock file of its kind shared for its whole life, so no index
// builder swaps the index under it. One object per search; not thread-safe.
#pragma once

#include "search/index_kind.h"
#include "search/internal/index_lock_file.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

class CLuceneError;
namespace lucene::analysis {
class Analyzer;
}
namespace lucene::search {
class IndexSearcher;
}

namespace kestrova {

// A search that could not run, with what failed and why: "can't open lock file PATH: REASON",
// "can't open index PATH: DETAIL", "can't parse query: DETAIL", "can't search index PATH:
// DETAIL", "can't read index PATH: DETAIL", or, for an index that was current but could not be
// opened or read (its identity is then removed, so it is current no more), "the index PATH was
// damaged and is being rebuilt: DETAIL". The index library's own
// errors are turned into this one, so that nobody above the search library meets them.
class SearchError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// How one query ended.
enum class SearchOutcome {
    kSearched,    // the query ran: its hits, perhaps none, were handed out
    kBlocked,     // the live lock could not be had (an index builder holds it, or its file
                  // cannot be made), so no index was opened
    kBlankQuery,  // the query holds nothing but blanks
    kNoQuery,     // the parser made no query of it
};

class ISearcher {
public:
    virtual ~ISearcher() = default;
    // Runs the query and appends the relative page path of every hit, best first, to `paths`.
    // False when the query did not run (see SearchOutcome). Throws SearchError when the query
    // cannot be parsed (query-language mode; parentheses nested deeper than 100 levels are
    // refused before the parser sees them) or the index cannot be searched.
    virtual bool Search(const std::u16string& query, std::vector<std::u16string>& paths) = 0;
};

class Searcher final : public ISearcher {
public:
    // Takes the live lock of the kind once, without waiting; when a builder holds it, waits
    // 200 ms and stays without an index (every search then ends kBlocked); when the lock file
    // cannot be used, throws SearchError. Otherwise opens the index; a missing or broken index
    // throws SearchError. Throws
    // std::runtime_error("unknown index kind") for a kind that is not an IndexKind.
    Searcher(const std::u16string& dataFolder, IndexKind kind, bool queryLanguage);
    ~Searcher() override;

    // The relative path of every hit, best first (the stored field "relPath" of each hit).
    bool Search(const std::u16string& query, std::vector<std::u16string>& paths) override;

    // The document numbers of every hit, best first, appended when the outcome is kSearched.
    // Document n of an index whose Identity is a model's identifier is the n-th page of that
    // model's page list. Throws as Search.
    SearchOutcome SearchDocuments(const std::u16string& query, std::vector<int32_t>& documents);
    // The stored relative path of a document (its page text is not loaded); nothing when there
    // is no such document. Throws SearchError when the index cannot be read.
    std::optional<std::u16string> StoredPath(int32_t document);
    // The identifier in the open index's idx_info.uid, read under the live lock; nothing when
    // there is no index or no readable identity.
    const std::optional<ModelUid>& Identity() const { return identity_; }
    // Number of documents of the open index (0 without one).
    int32_t DocumentCount() const;

    bool HasIndex() const { return searcher_ != nullptr; }

private:
    // Throws SearchError for an error of the index library while the index is opened or read;
    // a damaged index loses its identity first.
    [[noreturn]] void ThrowIndexError(const std::string& what, CLuceneError& e);

    IndexLockFile lock_;
    std::string liveDir_;
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
