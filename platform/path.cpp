#include "platform/path.h"

#include "platform/codepage.h"

#include <unistd.h>
#include <ctime>
#include <vector>

namespace kestrova::platform {
namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

std::u16string CurrentDirectory() {
    std::vector<char> buffer(4096);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (buffer.size() > (1u << 20)) return u"/";
        buffer.resize(buffer.size() * 2);
    }
    return Utf8ToUtf16(buffer.data());
}

}  // namespace

std::string NativePath(std::u16string_view path) {
    std::string out = Utf16ToUtf8(path);
    for (char& c : out) {
        if (c == '\\') c = '/';
    }
    return out;
}

std::u16string PathFromNative(std::string_view native) { return Utf8ToUtf16(native); }

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
