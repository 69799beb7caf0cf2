// The token filter that replaces every word by its dictionary form. One token goes out for
// each token that comes in; position, offsets and type stay as they are.
#pragma once

#include <CLucene.h>

#include <functional>
#include <string>
#include <string_view>

namespace lucene::analysis::standard {

// The dictionary form of a word in code page 1251 (upper case), the word itself when the
// morphology has none.
using DictionaryFormFunction = std::function<std::string(std::string_view)>;

// The process-wide morphology's dictionary form (takes the morphology lock per word).
DictionaryFormFunction ProcessDictionaryForm();

class MorphoTokenFilter : public TokenFilter {
public:
    // Owns and deletes `in`.
    MorphoTokenFilter(TokenStream* in, DictionaryFormFunction form);
    ~MorphoTokenFilter() override;

    // The next token with its text replaced by its dictionary form, or null at the end.
    Token* next(Token* token) override;

private:
    DictionaryFormFunction form_;
    std::string bytes_;   // the word in code page 1251
    std::wstring wide_;   // its dictionary form
};

}  // namespace lucene::analysis::standard
