#include "search/morphology/morpho_word_filter.h"

#include "platform/codepage.h"
#include "search/morphology/morphology_holder.h"

namespace kestrova {

MorphoWordFilter::MorphoWordFilter(const std::vector<std::u16string>& words, FormFunction form)
    : form_(std::move(form)) {
    bytes_.reserve(100);
    for (const std::u16string& w : words) forms_.insert(Form(w));
}

std::string MorphoWordFilter::Form(std::u16string_view word) {
    bytes_ = platform::EncodeText(platform::kCodePage1251, word);
    return form_ ? form_(bytes_) : GetDictionaryForm(std::string_view(bytes_));
}

bool MorphoWordFilter::Matches(const char16_t* word, std::size_t length) {
    return forms_.count(Form(std::u16string_view(word, length))) != 0;
}

}  // namespace kestrova
