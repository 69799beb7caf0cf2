#include "search/internal/morpho_token_filter.h"

#include "platform/codepage.h"
#include "search/morphology/morphology_holder.h"

#include <memory>
#include <unordered_map>

namespace lucene::analysis::standard {

DictionaryFormFunction ProcessDictionaryForm() {
    return [](std::string_view word) { return kestrova::GetDictionaryForm(word); };
}

DictionaryFormFunction RememberingDictionaryForm(DictionaryFormFunction form, size_t capacity) {
    auto known = std::make_shared<std::unordered_map<std::string, std::string>>();
    return [form = std::move(form), known, capacity](std::string_view word) {
        thread_local std::string key;
        key.assign(word);
        const auto it = known->find(key);
        if (it != known->end()) return it->second;
        std::string result = form(word);
        if (known->size() < capacity) known->emplace(key, result);
        return result;
    };
}

MorphoTokenFilter::MorphoTokenFilter(TokenStream* in, DictionaryFormFunction form)
    : TokenFilter(in, true), form_(std::move(form)) {
    bytes_.reserve(100);
    wide_.reserve(100);
}

MorphoTokenFilter::~MorphoTokenFilter() = default;

Token* MorphoTokenFilter::next(Token* token) {
    Token* t = input->next(token);
    if (!t) return nullptr;
    const TCHAR* text = t->termBuffer();
    const size_t length = t->termLength();
    bytes_.clear();
    for (size_t i = 0; i < length; ++i) {
        // Characters beyond the 16-bit range have no place in code page 1251 either.
        const wchar_t c = text[i];
        bytes_.push_back(c > 0xFFFF ? '?'
                                    : kestrova::platform::Cp1251FromUnit(static_cast<char16_t>(c)));
    }
    const std::string form = form_(bytes_);
    wide_.clear();
    for (const char b : form)
        wide_.push_back(kestrova::platform::Cp1251ToUnit(static_cast<unsigned char>(b)));
    t->setText(wide_.c_str(), static_cast<int32_t>(wide_.size()));
    return t;
}

}  // namespace lucene::analysis::standard
