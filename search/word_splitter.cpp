#include "search/internal/word_splitter.h"

#include "platform/text.h"

namespace kestrova {
namespace {

bool IsWordChar(char16_t c) { return c == u'_' || platform::IsAlphaNumeric(c); }

}  // namespace

std::vector<WordSpan> SplitWordSpans(std::u16string_view text) {
    std::vector<WordSpan> words;
    size_t i = 0;
    while (i < text.size()) {
        if (!IsWordChar(text[i])) {
            ++i;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && IsWordChar(text[i])) ++i;
        words.push_back({start, i - start});
    }
    return words;
}

std::vector<std::u16string> SplitWords(std::u16string_view text) {
    std::vector<std::u16string> words;
    for (const WordSpan& w : SplitWordSpans(text))
        words.emplace_back(text.substr(w.start, w.length));
    return words;
}

void FillWordSet(std::u16string_view text, std::set<std::u16string>& words) {
    words.clear();
    for (const WordSpan& w : SplitWordSpans(text))
        words.insert(platform::ToLower(text.substr(w.start, w.length)));
}

}  // namespace kestrova
