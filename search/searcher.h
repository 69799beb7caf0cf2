// One query on one live full-text index.
#pragma once

#include <string>
#include <vector>

namespace kestrova {

class ISearcher {
public:
    virtual ~ISearcher() = default;
    // Runs the query and appends the relative page path of every hit, best first, to `paths`.
    // False when the searcher has no index (the live lock was held by a builder) or the query
    // yields no query. A syntax error in query-language mode throws the library's CLuceneError.
    virtual bool Search(const std::u16string& query, std::vector<std::u16string>& paths) = 0;
};

}  // namespace kestrova
