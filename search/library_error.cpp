#include "search/internal/library_error.h"

#include "platform/codepage.h"

#include <algorithm>

namespace kestrova {

std::string LibraryErrorText(CLuceneError& error) {
    // The wide text: the narrow one loses every character outside ASCII.
    const wchar_t* wide = error.twhat();
    std::string text = platform::Utf16ToUtf8(platform::WideToUtf16(wide ? wide : L""));
    text.erase(std::min(text.find('\n'), text.size()));
    while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\t'))
        text.pop_back();
    return text;
}

}  // namespace kestrova
