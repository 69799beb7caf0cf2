#include "search/morphology/morpho_word_filter.h"

#include "platform/codepage.h"
#include "search/morphology/morphology_holder.h"

namespace kestrova {

std::string DictionaryForm1251(std::u16string_view word) {
    return GetDictionaryForm(platform::EncodeText(platform::kCodePage1251, word));
}

MorphoWordFilter::MorphoWordFilter(const std::vector<std::u16string>& words, FormFunction form)
    : form_(std::move(form)) {
    bytes_.reserve(100);
    for (const std::u16string& w : words) forms_.insert(Form(w));
}

std::string MorphoWordFilter::Form(std::u16string_view word) {
    if (!form_) return DictionaryForm1251(word);
    bytes_ = platform::EncodeText(platform::kCodePage1251, word);
    return form_(bytes_);
}

bool MorphoWordFilter::Matches(const char16_t* word, std::size_t length) {
    return forms_.count(Form(std::u16string_view(word, length))) != 0;
}

}  // namespace kestrova
