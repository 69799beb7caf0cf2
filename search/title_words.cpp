#include "search/title_words.h"

#include "platform/text.h"
#include "search/internal/word_splitter.h"
#include "search/morphology/morpho_word_filter.h"
#include "search/string_search.h"

#include <set>

namespace kestrova {
namespace {

// The number of `key` in `numbers`, a new one when it is not there yet.
template <typename Key>
int32_t Number(std::unordered_map<Key, int32_t>& numbers, const Key& key) {
    return numbers.emplace(key, static_cast<int32_t>(numbers.size())).first->second;
}

}  // namespace

TitleWords::TitleWords(const std::vector<const char16_t*>& titles) {
    std::unordered_map<std::u16string, int32_t> spellingNumbers;
    for (const char16_t* title : titles) {
        starts_.push_back(words_.size());
        const std::u16string_view text = title ? std::u16string_view(title) : std::u16string_view();
        for (const WordSpan& w : SplitWordSpans(text)) {
            const std::u16string spelling(text.substr(w.start, w.length));
            const int32_t number = Number(spellingNumbers, spelling);
            if (static_cast<size_t>(number) == spellings_.size()) {
                spellings_.push_back(spelling);
                lowerOf_.push_back(Number(lowerNumbers_, platform::ToLower(spelling)));
            }
            words_.push_back(number);
        }
    }
    starts_.push_back(words_.size());
}

void TitleWords::LookUpForms() const {
    // The same dictionary form that MorphoWordFilter compares.
    formOf_.reserve(spellings_.size());
    for (const std::u16string& spelling : spellings_)
        formOf_.push_back(Number(formNumbers_, DictionaryForm1251(spelling)));
}

std::vector<int32_t> TitleWords::Scores(const char16_t* query, uint32_t options) const {
    const std::u16string_view text = query ? std::u16string_view(query) : std::u16string_view();
    // Which word numbers match, and which number of each title word is compared.
    std::vector<char> matches;
    const std::vector<int32_t>* numberOf = &lowerOf_;
    if (options & kRelatedWordsBit) {
        std::call_once(formsOnce_, [this] { LookUpForms(); });
        matches.assign(formNumbers_.size(), 0);
        const MorphoWordFilter filter(SplitWords(text));
        for (const std::string& form : filter.Forms()) {
            const auto it = formNumbers_.find(form);
            if (it != formNumbers_.end()) matches[static_cast<size_t>(it->second)] = 1;
        }
        numberOf = &formOf_;
    } else {
        matches.assign(lowerNumbers_.size(), 0);
        std::set<std::u16string> lower;
        FillWordSet(text, lower);
        for (const std::u16string& word : lower) {
            const auto it = lowerNumbers_.find(word);
            if (it != lowerNumbers_.end()) matches[static_cast<size_t>(it->second)] = 1;
        }
    }
    std::vector<int32_t> scores(starts_.size() - 1, 0);
    for (size_t t = 0; t + 1 < starts_.size(); ++t) {
        int32_t score = 0;
        for (size_t i = starts_[t]; i < starts_[t + 1]; ++i) {
            score += matches[static_cast<size_t>((*numberOf)[static_cast<size_t>(words_[i])])];
        }
        scores[t] = score;
    }
    return scores;
}

}  // namespace kestrova
