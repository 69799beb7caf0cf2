// Counting the words of a text that match a query: exact (ignoring letter case) or by
// dictionary form (related words). Used by the titles-only search and by highlighting.
#pragma once

#include "search/morphology/word_filter.h"

#include <cstdint>
#include <memory>
#include <set>
#include <string>

namespace kestrova {

class IStringSearch_impl_ {
public:
    virtual ~IStringSearch_impl_() = default;
    // Number of words of the text (null allowed) that match; each occurrence counts.
    virtual int32_t CountMatches(const char16_t* text) = 0;
};

// Words equal to a query word, ignoring letter case.
class StringSearch_Exact_CI_impl_ final : public IStringSearch_impl_ {
public:
    explicit StringSearch_Exact_CI_impl_(std::u16string query);
    int32_t CountMatches(const char16_t* text) override;

private:
    std::set<std::u16string> words_;  // lower-cased query words
    std::u16string query_;
};

// Words with the dictionary form of a query word.
class StringSearch_Related_CI_impl_ final : public IStringSearch_impl_ {
public:
    // Owns the filter (null allowed: nothing matches).
    explicit StringSearch_Related_CI_impl_(std::unique_ptr<IWordFilter> filter);
    int32_t CountMatches(const char16_t* text) override;

private:
    std::unique_ptr<IWordFilter> filter_;
};

// The search option that compares dictionary forms (related words) rather than exact words.
inline constexpr uint32_t kRelatedWordsBit = 2;

// The matcher of a query for the search options: related words (bit 1) give a dictionary-form
// matcher over the process-wide morphology, otherwise an exact one. Never null.
std::unique_ptr<IStringSearch_impl_> CreateStringSearch(const char16_t* query, uint32_t options);

}  // namespace kestrova
