#include "platform/text.h"

#include <unicode/uchar.h>
#include <unicode/ucol.h>

#include <cstdint>
#include <memory>
#include <stdexcept>

namespace kestrova::platform {
namespace {

struct CollatorDeleter {
    void operator()(UCollator* c) const { ucol_close(c); }
};
using CollatorPtr = std::unique_ptr<UCollator, CollatorDeleter>;

// ICU collators may be shared by threads for comparisons; they are opened once with the
// root rules, so the order never depends on the locale of the environment.
CollatorPtr OpenRootCollator(UCollationStrength strength) {
    UErrorCode status = U_ZERO_ERROR;
    CollatorPtr collator(ucol_open("", &status));
    if (U_FAILURE(status))
        throw std::runtime_error(std::string("ICU root collator: ") + u_errorName(status));
    ucol_setStrength(collator.get(), strength);
    return collator;
}

int Collate(const UCollator* collator, std::u16string_view a, std::u16string_view b) {
    return ucol_strcoll(collator, reinterpret_cast<const UChar*>(a.data()),
                        static_cast<int32_t>(a.size()), reinterpret_cast<const UChar*>(b.data()),
                        static_cast<int32_t>(b.size()));
}

const UCollator* CaseCollator() {
    static const CollatorPtr collator = OpenRootCollator(UCOL_TERTIARY);
    return collator.get();
}

const UCollator* NoCaseCollator() {
    static const CollatorPtr collator = OpenRootCollator(UCOL_SECONDARY);
    return collator.get();
}

// The collator's sort key without its terminating zero byte. Keys of root collation take about
// four bytes per code unit (primary, secondary and tertiary weights), so the first try uses a
// buffer of that size on the stack and a key is computed twice only when it is longer.
std::string MakeSortKey(const UCollator* collator, std::u16string_view text) {
    const auto* chars = reinterpret_cast<const UChar*>(text.data());
    const auto length = static_cast<int32_t>(text.size());
    constexpr int32_t kStackKey = 512;
    uint8_t stackKey[kStackKey];
    const int32_t n = ucol_getSortKey(collator, chars, length, stackKey, kStackKey);
    if (n <= 0) return {};
    if (n <= kStackKey)
        return std::string(reinterpret_cast<const char*>(stackKey), static_cast<size_t>(n - 1));
    std::string key(static_cast<size_t>(n), '\0');
    ucol_getSortKey(collator, chars, length, reinterpret_cast<uint8_t*>(key.data()), n);
    key.resize(static_cast<size_t>(n - 1));
    return key;
}

}  // namespace

char16_t ToUpper(char16_t c) {
    if (c < 0x80) return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    const UChar32 u = u_toupper(c);
    return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

char16_t ToLower(char16_t c) {
    if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c;
    if (c >= 0xD800 && c <= 0xDFFF) return c;
    const UChar32 u = u_tolower(c);
    return u <= 0xFFFF ? static_cast<char16_t>(u) : c;
}

std::u16string ToUpper(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToUpper(c);
    return out;
}

std::u16string ToLower(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = ToLower(c);
    return out;
}

bool IsAlphaNumeric(char16_t c) { return u_isalnum(c) != 0; }

int CompareText(std::u16string_view a, std::u16string_view b) {
    return Collate(CaseCollator(), a, b);
}

int CompareTextNoCase(std::u16string_view a, std::u16string_view b) {
    return Collate(NoCaseCollator(), a, b);
}

std::string SortKey(std::u16string_view text) { return MakeSortKey(CaseCollator(), text); }

std::string SortKeyNoCase(std::u16string_view text) { return MakeSortKey(NoCaseCollator(), text); }

std::string_view NoCaseSortKeyOf(std::string_view key) {
    // A key holds its levels in turn, primary, secondary, then tertiary (case), each after a
    // separator byte that no weight uses; the case-insensitive key stops before the third.
    constexpr char kLevelSeparator = '\x01';
    const size_t first = key.find(kLevelSeparator);
    if (first == std::string_view::npos) return key;
    return key.substr(0, key.find(kLevelSeparator, first + 1));
}

int CompareCodeUnits(std::u16string_view a, std::u16string_view b) {
    const int r = a.compare(b);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'A' && x <= 'Z') x = static_cast<char>(x + 32);
        if (y >= 'A' && y <= 'Z') y = static_cast<char>(y + 32);
        if (x != y) return false;
    }
    return true;
}

std::u16string Ascii16(std::string_view ascii) {
    return std::u16string(ascii.begin(), ascii.end());
}

}  // namespace kestrova::platform
