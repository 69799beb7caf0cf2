// A test on words, used by highlighting and title search.
#pragma once

#include <cstddef>

namespace kestrova {

class IWordFilter {
public:
    virtual ~IWordFilter() = default;
    // True when the word (`length` wide characters at `word`) passes the filter.
    virtual bool Matches(const char16_t* word, std::size_t length) = 0;
};

}  // namespace kestrova
