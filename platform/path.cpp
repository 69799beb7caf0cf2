#include "platform/path.h"

#include "platform/codepage.h"

#include <unistd.h>
#include <ctime>
#include <vector>

namespace kestrova::platform {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

// A lone low surrogate U+DC00 + b stands for the byte b of a native name that is not text.
constexpr char16_t kNativeByteBase = 0xDC00;

// The length of the longest prefix of `bytes` that is valid UTF-8 (and holds no backslash,
// which in a native name is a character, not the separator of relative paths).
size_t ValidUtf8Prefix(std::string_view bytes) {
    size_t i = 0;
    while (i < bytes.size()) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\\') return i;
        if (b < 0x80) {
            ++i;
            continue;
        }
        const size_t length = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : 2;
        if (i + length > bytes.size() || !IsValidUtf8(bytes.substr(i, length))) return i;
        i += length;
    }
    return i;
}

std::u16string CurrentDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) return u"/";
        buffer.resize(buffer.size() * 2);
    }
    return PathFromNative(buffer.data());
}

}  // namespace

std::string NativePath(std::u16string_view path) {
    std::string out;
    out.reserve(path.size());
    size_t start = 0;  // of the run of ordinary text not yet converted
    const auto flush = [&](size_t end) {
        out.append(Utf16ToUtf8(path.substr(start, end - start)));
        start = end + 1;
    };
    for (size_t i = 0; i < path.size(); ++i) {
        const char16_t c = path[i];
        if (c == u'\\' || c == u'/') {
            flush(i);
            out.push_back('/');
        } else if (const int byte = NativeByteOf(c); byte >= 0) {
            flush(i);
            out.push_back(static_cast<char>(byte));
        }
    }
    flush(path.size());
    return out;
}

std::u16string PathFromNative(std::string_view native) {
    std::u16string out;
    out.reserve(native.size());
    size_t i = 0;
    while (i < native.size()) {
        const size_t valid = ValidUtf8Prefix(native.substr(i));
        out.append(Utf8ToUtf16(native.substr(i, valid)));
        i += valid;
        if (i < native.size()) out.push_back(UnitOfNativeByte(native[i++]));
    }
    return out;
}

char16_t UnitOfNativeByte(char byte) {
    return static_cast<char16_t>(kNativeByteBase + static_cast<unsigned char>(byte));
}

int NativeByteOf(char16_t unit) {
    if (unit == UnitOfNativeByte('\\')) return '\\';
    if (unit >= kNativeByteBase + 0x80 && unit <= kNativeByteBase + 0xFF)
        return unit - kNativeByteBase;
    return -1;
}

std::u16string NormalizePath(std::u16string_view path) {
    std::u16string full;
    if (path.empty() || !IsSeparator(path[0])) {
        full = CurrentDirectory();
        full.push_back(u'/');
    }
    full.append(path);

    std::vector<std::u16string_view> parts;
    const std::u16string_view view(full);
    size_t i = 0;
    while (i < view.size()) {
        while (i < view.size() && IsSeparator(view[i])) ++i;
        size_t j = i;
        while (j < view.size() && !IsSeparator(view[j])) ++j;
        const std::u16string_view part = view.substr(i, j - i);
        if (part.empty() || part == u".") {
        } else if (part == u"..") {
            if (!parts.empty()) parts.pop_back();
        } else {
            parts.push_back(part);
        }
        i = j;
    }
    std::u16string out;
    for (const auto& part : parts) {
        out.push_back(u'/');
        out.append(part);
    }
    return out.empty() ? u"/" : out;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view relative) {
    std::u16string out(folder);
    while (!out.empty() && IsSeparator(out.back())) out.pop_back();
    size_t start = 0;
    while (start < relative.size() && IsSeparator(relative[start])) ++start;
    out.push_back(u'/');
    for (size_t i = start; i < relative.size(); ++i)
        out.push_back(relative[i] == u'\\' ? u'/' : relative[i]);
    return out;
}

uint64_t FileTimeFromTimespec(const struct timespec& ts) {
    constexpr uint64_t kEpochDifference = 11644473600ULL;  // seconds from 1601 to 1970
    return (static_cast<uint64_t>(ts.tv_sec) + kEpochDifference) * 10000000ULL +
           static_cast<uint64_t>(ts.tv_nsec) / 100;
}

}  // namespace kestrova::platform
