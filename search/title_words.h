// The words of the page titles of a model, split once, for titles-only search: every search
// then scores all titles by comparing word numbers instead of splitting, lower-casing and
// lemmatizing every title again. The scores are exactly the CountMatches of the matcher that
// CreateStringSearch makes for the query and options. Built once per model; Scores is safe to
// call from several threads.
#pragma once

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrova {

class TitleWords {
public:
    // Splits the titles (null allowed: a title without words).
    explicit TitleWords(const std::vector<const char16_t*>& titles);

    // The number of words of each title that match the query: exact words ignoring letter case,
    // or with option bit 1 (related words) words with the dictionary form of a query word (the
    // first such search looks up the dictionary form of every distinct title word).
    std::vector<int32_t> Scores(const char16_t* query, uint32_t options) const;

private:
    void LookUpForms() const;

    std::vector<int32_t> words_;  // word numbers of all titles, title after title
    std::vector<size_t> starts_;  // where each title's words begin in words_, and the end
    std::vector<std::u16string> spellings_;                     // by word number
    std::unordered_map<std::u16string, int32_t> lowerNumbers_;  // lower-cased word -> number
    std::vector<int32_t> lowerOf_;  // by word number: number of its lower-cased form
    mutable std::once_flag formsOnce_;
    mutable std::unordered_map<std::string, int32_t> formNumbers_;  // dictionary form -> number
    mutable std::vector<int32_t> formOf_;  // by word number: number of its dictionary form
};

}  // namespace kestrova
