// A word filter that passes every word with the same dictionary form as one of a list of
// words. Not thread safe (it keeps a conversion scratch area); one per user.
#pragma once

#include "search/morphology/word_filter.h"

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

// The dictionary form of a word, in code page 1251, by the process-wide morphology: what the
// filter below compares.
std::string DictionaryForm1251(std::u16string_view word);

class MorphoWordFilter : public IWordFilter {
public:
    // Dictionary form of a word in code page 1251.
    using FormFunction = std::function<std::string(std::string_view)>;

    // Collects the dictionary forms of `words` (duplicates collapse), by the process-wide
    // holder or by `form` when given.
    explicit MorphoWordFilter(const std::vector<std::u16string>& words, FormFunction form = {});

    bool Matches(const char16_t* word, std::size_t length) override;

    const std::set<std::string>& Forms() const { return forms_; }

private:
    std::string Form(std::u16string_view word);

    FormFunction form_;
    std::set<std::string> forms_;  // code page 1251, compared byte by byte
    std::string bytes_;            // the word in code page 1251
};

}  // namespace kestrova
