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

// `form` with its answers kept for up to `capacity` distinct words (later words are passed on
// each time), so that the words a text repeats are looked up once. `form` must answer the
// same for the same word. The result and its copies share the kept answers and are used by
// one thread at a time.
DictionaryFormFunction RememberingDictionaryForm(DictionaryFormFunction form, size_t capacity);

class MorphoTokenFilter : public TokenFilter {
public:
    // Owns and deletes `in`.
    MorphoTokenFilter(TokenStream* in, DictionaryFormFunction form);
    ~MorphoTokenFilter() override;

    // The next token with its text replaced by its dictionary form, or null at the end.
    Token* next(Token* token) override;

private:
    DictionaryFormFunction form_;
    std::string bytes_;  // the word in code page 1251
    std::wstring wide_;  // its dictionary form
};

}  // namespace lucene::analysis::standard
