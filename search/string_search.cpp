#include "search/string_search.h"

#include "platform/text.h"
#include "search/internal/word_splitter.h"
#include "search/morphology/morpho_word_filter.h"

namespace kestrova {
namespace {

std::u16string_view View(const char16_t* text) {
    return text ? std::u16string_view(text) : std::u16string_view();
}

}  // namespace

StringSearch_Exact_CI_impl_::StringSearch_Exact_CI_impl_(std::u16string query)
    : query_(std::move(query)) {
    FillWordSet(query_, words_);
}

int32_t StringSearch_Exact_CI_impl_::CountMatches(const char16_t* text) {
    const std::u16string_view view = View(text);
    int32_t count = 0;
    for (const WordSpan& w : SplitWordSpans(view)) {
        if (words_.count(platform::ToLower(view.substr(w.start, w.length)))) ++count;
    }
    return count;
}

StringSearch_Related_CI_impl_::StringSearch_Related_CI_impl_(std::unique_ptr<IWordFilter> filter)
    : filter_(std::move(filter)) {}

int32_t StringSearch_Related_CI_impl_::CountMatches(const char16_t* text) {
    const std::u16string_view view = View(text);
    if (!filter_) return 0;
    int32_t count = 0;
    for (const WordSpan& w : SplitWordSpans(view)) {
        if (filter_->Matches(view.data() + w.start, w.length)) ++count;
    }
    return count;
}

std::unique_ptr<IStringSearch_impl_> CreateStringSearch(const char16_t* query, uint32_t options) {
    if (options & kRelatedWordsBit) {
        return std::make_unique<StringSearch_Related_CI_impl_>(
            std::make_unique<MorphoWordFilter>(SplitWords(View(query))));
    }
    return std::make_unique<StringSearch_Exact_CI_impl_>(std::u16string(View(query)));
}

}  // namespace kestrova
