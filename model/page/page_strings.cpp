#include "model/page/page_strings.h"

#include "platform/codepage.h"
#include "platform/text.h"

namespace kestrova {
namespace {

template <class View>
View Trim(View text) {
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && IsTrimSpace(static_cast<char16_t>(text[begin]))) ++begin;
    while (end > begin && IsTrimSpace(static_cast<char16_t>(text[end - 1]))) --end;
    return text.substr(begin, end - begin);
}

}  // namespace

std::string_view TrimSpaces(std::string_view text) { return Trim(text); }

std::u16string_view TrimSpaces(std::u16string_view text) { return Trim(text); }

std::u16string LowerCase(std::u16string_view text) { return platform::ToLower(text); }

std::string AnsiFromText(std::u16string_view text) {
    return platform::EncodeText(platform::kCodePageAnsi, text);
}

}  // namespace kestrova
