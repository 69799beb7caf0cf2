#include "platform/codepage.h"

#include <array>

namespace kestrova::platform {
namespace {

// The upper half (0x80..0xFF) of Windows-1251. 0x98 is unassigned there and maps to U+0098,
// as the system conversion does, so that every byte survives a round trip.
constexpr std::array<char16_t, 128> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, 0x20AC, 0x2030, 0x0409, 0x2039,
    0x040A, 0x040C, 0x040B, 0x040F, 0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x0098, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, 0x00A0, 0x040E, 0x045E, 0x0408,
    0x00A4, 0x0490, 0x00A6, 0x00A7, 0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407,
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, 0x0451, 0x2116, 0x0454, 0x00BB,
    0x0458, 0x0405, 0x0455, 0x0457, 0x0410, 0x0411, 0x0412, 0x0413, 0x0414, 0x0415, 0x0416, 0x0417,
    0x0418, 0x0419, 0x041A, 0x041B, 0x041C, 0x041D, 0x041E, 0x041F, 0x0420, 0x0421, 0x0422, 0x0423,
    0x0424, 0x0425, 0x0426, 0x0427, 0x0428, 0x0429, 0x042A, 0x042B, 0x042C, 0x042D, 0x042E, 0x042F,
    0x0430, 0x0431, 0x0432, 0x0433, 0x0434, 0x0435, 0x0436, 0x0437, 0x0438, 0x0439, 0x043A, 0x043B,
    0x043C, 0x043D, 0x043E, 0x043F, 0x0440, 0x0441, 0x0442, 0x0443, 0x0444, 0x0445, 0x0446, 0x0447,
    0x0448, 0x0449, 0x044A, 0x044B, 0x044C, 0x044D, 0x044E, 0x044F,
};

// Reverse table over the whole BMP, built once.
struct Cp1251Reverse {
    std::array<unsigned char, 0x10000> bytes{};
    Cp1251Reverse() {
        bytes.fill('?');
        for (unsigned i = 0; i < 0x80; ++i) bytes[i] = static_cast<unsigned char>(i);
        for (unsigned i = 0; i < 128; ++i)
            bytes[kCp1251High[i]] = static_cast<unsigned char>(0x80 + i);
    }
};

const Cp1251Reverse& Reverse() {
    static const Cp1251Reverse table;
    return table;
}

constexpr char32_t kReplacement = 0xFFFD;

// Decodes one UTF-8 sequence at s[i]; advances i. Invalid input yields U+FFFD and consumes
// one byte (or the maximal valid prefix of a truncated sequence).
char32_t NextUtf8(std::string_view s, size_t& i) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        ++i;
        return b0;
    }
    int len;
    char32_t cp;
    char32_t min;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
        cp = b0 & 0x1F;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        cp = b0 & 0x0F;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        cp = b0 & 0x07;
        min = 0x10000;
    } else {
        ++i;
        return kReplacement;
    }
    size_t j = i + 1;
    for (int k = 1; k < len; ++k, ++j) {
        if (j >= s.size()) {
            i = j;
            return kReplacement;
        }
        const auto b = static_cast<unsigned char>(s[j]);
        if ((b & 0xC0) != 0x80) {
            i = j;
            return kReplacement;
        }
        cp = (cp << 6) | (b & 0x3F);
    }
    i = j;
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    return cp;
}

void AppendUtf16(std::u16string& out, char32_t cp) {
    if (cp < 0x10000) {
        out.push_back(static_cast<char16_t>(cp));
    } else {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    }
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

// Reads one code point from UTF-16 at t[i]; unpaired surrogates give U+FFFD.
char32_t NextUtf16(std::u16string_view t, size_t& i) {
    const char16_t u = t[i++];
    if (u < 0xD800 || u > 0xDFFF) return u;
    if (u <= 0xDBFF && i < t.size() && t[i] >= 0xDC00 && t[i] <= 0xDFFF) {
        const char16_t low = t[i++];
        return 0x10000 + ((static_cast<char32_t>(u) - 0xD800) << 10) + (low - 0xDC00);
    }
    return kReplacement;
}

}  // namespace

char16_t Cp1251ToUnit(unsigned char byte) {
    return byte < 0x80 ? static_cast<char16_t>(byte) : kCp1251High[byte - 0x80];
}

char Cp1251FromUnit(char16_t unit) { return static_cast<char>(Reverse().bytes[unit]); }

bool IsValidUtf8(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        if (static_cast<unsigned char>(bytes[i]) < 0x80) {
            ++i;
            continue;
        }
        const size_t start = i;
        const char32_t cp = NextUtf8(bytes, i);
        if (cp == kReplacement) {
            // A genuine U+FFFD is three bytes EF BF BD.
            if (i - start != 3 || bytes.substr(start, 3) != "\xEF\xBF\xBD") return false;
        }
    }
    return true;
}

std::u16string Utf8ToUtf16(std::string_view bytes) {
    std::u16string out;
    out.reserve(bytes.size());
    size_t i = 0;
    while (i < bytes.size()) AppendUtf16(out, NextUtf8(bytes, i));
    return out;
}

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size() * 2);
    size_t i = 0;
    while (i < text.size()) AppendUtf8(out, NextUtf16(text, i));
    return out;
}

std::wstring Utf16ToWide(std::u16string_view text) {
    std::wstring out;
    out.reserve(text.size());
    size_t i = 0;
    while (i < text.size()) {
        const size_t at = i;
        const char32_t cp = NextUtf16(text, i);
        // A lone surrogate (a byte of a native name, see path.h) goes through as it is.
        out.push_back(static_cast<wchar_t>(cp == kReplacement ? text[at] : cp));
    }
    return out;
}

std::u16string WideToUtf16(std::wstring_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (wchar_t w : text) {
        auto cp = static_cast<char32_t>(w);
        if (cp > 0x10FFFF) cp = kReplacement;
        AppendUtf16(out, cp);  // a lone surrogate comes back as the one unit it was
    }
    return out;
}

std::u16string DecodeBytes(uint32_t codePage, std::string_view bytes) {
    if (codePage == kCodePageUtf8) return Utf8ToUtf16(bytes);
    if (codePage != kCodePage1251 && IsValidUtf8(bytes)) return Utf8ToUtf16(bytes);
    std::u16string out(bytes.size(), u'\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        out[i] = Cp1251ToUnit(static_cast<unsigned char>(bytes[i]));
    return out;
}

std::string EncodeText(uint32_t codePage, std::u16string_view text) {
    if (codePage != kCodePage1251) return Utf16ToUtf8(text);
    std::string out(text.size(), '\0');
    const auto& table = Reverse().bytes;
    size_t n = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t u = text[i];
        // A surrogate pair is one character: one '?'.
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            ++i;
        out[n++] = static_cast<char>(table[u]);
    }
    out.resize(n);
    return out;
}

}  // namespace kestrova::platform
