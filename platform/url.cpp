#include "platform/url.h"

#include "platform/codepage.h"
#include "platform/path.h"
#include "platform/text.h"

#include <vector>

namespace kestrova::platform {
namespace {

bool NeedsEscape(char16_t c) {
    return c <= 0x20 || c == u'%' || c == u'#' || c == u'?' || c == 0x7F;
}

void AppendByte(std::u16string& out, unsigned char b) {
    static const char16_t kHex[] = u"0123456789ABCDEF";
    out.push_back(u'%');
    out.push_back(kHex[b >> 4]);
    out.push_back(kHex[b & 15]);
}

void AppendEscaped(std::u16string& out, char16_t c) {
    const std::string bytes = Utf16ToUtf8(std::u16string_view(&c, 1));
    for (unsigned char b : bytes) AppendByte(out, b);
}

int HexValue(char16_t c) {
    if (c >= u'0' && c <= u'9') return c - u'0';
    if (c >= u'a' && c <= u'f') return c - u'a' + 10;
    if (c >= u'A' && c <= u'F') return c - u'A' + 10;
    return -1;
}

std::vector<std::u16string_view> SplitPath(std::u16string_view path) {
    std::vector<std::u16string_view> parts;
    size_t i = 0;
    while (i < path.size()) {
        size_t j = path.find(u'/', i);
        if (j == std::u16string_view::npos) j = path.size();
        if (j > i) parts.push_back(path.substr(i, j - i));
        i = j + 1;
    }
    return parts;
}

}  // namespace

std::u16string FileUrlFromPath(std::u16string_view path) {
    if (path.empty() || (path[0] != u'/' && path[0] != u'\\')) return {};
    std::u16string url = u"file://";
    for (char16_t c : path) {
        if (c == u'\\') c = u'/';
        if (const int byte = NativeByteOf(c); byte >= 0) {
            AppendByte(url, static_cast<unsigned char>(byte));  // a name's byte, as it is
        } else if (NeedsEscape(c))
            AppendEscaped(url, c);
        else
            url.push_back(c);
    }
    return url;
}

bool IsFileUrl(std::u16string_view text) {
    return text.size() >= 5 && ToLower(text.substr(0, 5)) == u"file:";
}

bool IsUrl(std::u16string_view text) {
    size_t i = 0;
    while (i < text.size() &&
           (IsAlphaNumeric(text[i]) || text[i] == u'+' || text[i] == u'-' || text[i] == u'.') &&
           text[i] < 0x80) {
        ++i;
    }
    return i >= 2 && i < text.size() && text[i] == u':';
}

std::optional<std::u16string> PathFromFileUrl(std::u16string_view url) {
    if (!IsFileUrl(url)) return std::nullopt;
    std::u16string_view rest = url.substr(5);
    if (rest.substr(0, 2) == u"//") {
        rest.remove_prefix(2);
        const size_t slash = rest.find(u'/');
        if (slash == std::u16string_view::npos) return std::nullopt;
        const std::u16string host = ToLower(rest.substr(0, slash));
        if (!host.empty() && host != u"localhost") return std::nullopt;
        rest.remove_prefix(slash);
    }
    if (rest.empty() || rest[0] != u'/') return std::nullopt;
    const size_t cut = rest.find_first_of(u"?#");
    if (cut != std::u16string_view::npos) rest = rest.substr(0, cut);
    return Unescape(rest, PathFromNative);
}

std::u16string EscapeSpaces(std::u16string_view text) {
    std::u16string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        if (c == u' ')
            out.append(u"%20");
        else
            out.push_back(c);
    }
    return out;
}

std::u16string Unescape(std::u16string_view text) { return Unescape(text, Utf8ToUtf16); }

std::u16string Unescape(std::u16string_view text, std::u16string (*decode)(std::string_view)) {
    std::string bytes;
    std::u16string out;
    auto flush = [&] {
        if (!bytes.empty()) out.append(decode(bytes));
        bytes.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == u'%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
            HexValue(text[i + 2]) >= 0) {
            bytes.push_back(static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2])));
            i += 2;
        } else {
            flush();
            out.push_back(text[i]);
        }
    }
    flush();
    return out;
}

std::optional<std::u16string> RelativePathTo(std::u16string_view from, std::u16string_view target) {
    if (from.empty() || target.empty() || (target[0] != u'/' && target[0] != u'\\'))
        return std::nullopt;
    const std::u16string a = NormalizePath(from);
    const std::u16string b = NormalizePath(target);
    const auto fromParts = SplitPath(a);
    const auto targetParts = SplitPath(b);
    size_t common = 0;
    while (common < fromParts.size() && common < targetParts.size() &&
           fromParts[common] == targetParts[common]) {
        ++common;
    }
    std::u16string out;
    if (common == fromParts.size()) {
        out = u".";
    } else {
        for (size_t i = common; i < fromParts.size(); ++i)
            out.append(i == common ? u".." : u"\\..");
    }
    for (size_t i = common; i < targetParts.size(); ++i) {
        out.push_back(u'\\');
        out.append(targetParts[i]);
    }
    return out;
}

uint32_t HashText(std::u16string_view text) {
    uint32_t h = 2166136261u;
    for (char16_t c : text) {
        h ^= static_cast<uint32_t>(c);
        h *= 16777619u;
    }
    return h;
}

}  // namespace kestrova::platform
