// Searcher: the ISearcher over the live index of one kind in a data folder. It holds the live
// lock file shared for its whole life, so no index builder swaps the index under it. One
// object per search; not thread-safe.
#pragma once

#include "search/index_lock_file.h"
#include "search/searcher.h"

#include <CLucene.h>

#include <cstdint>
#include <memory>
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

    bool Search(const std::u16string& query, std::vector<std::u16string>& paths) override;

    bool HasIndex() const { return searcher_ != nullptr; }

private:
    IndexLockFile lock_;
    int32_t kind_;
    bool queryLanguage_;
    std::unique_ptr<lucene::analysis::Analyzer> analyzer_;
    std::unique_ptr<lucene::search::IndexSearcher> searcher_;
};

// The query text as the parser gets it: in query-language mode with every colon replaced by a
// space (only the field "text" is searched), otherwise with a backslash before each of
// + - & | ! ( ) { } [ ] ^ " ~ * ? : \ and before the operator words AND, OR and NOT, so the
// query is a plain list of words.
std::u16string PrepareQueryText(const std::u16string& query, bool queryLanguage);

}  // namespace kestrova
