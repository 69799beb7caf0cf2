// SameFile: whether two URLs or paths denote one local file.
#include "shell/browser/browser_wnd.h"

#include "platform/path.h"
#include "platform/url.h"

#include <optional>
#include <string>

namespace kestrova {
namespace {

// The normalised local path that a file URL or a path denotes, cut at its last '#'; nothing
// for other URLs and for an empty text.
std::optional<std::u16string> LocalPath(const QString& text) {
    std::u16string s = text.toStdU16String();
    const size_t hash = s.rfind(u'#');
    if (hash != std::u16string::npos) s.erase(hash);
    if (s.empty()) return std::nullopt;
    if (platform::IsUrl(s)) {
        if (!platform::IsFileUrl(s)) return std::nullopt;
        std::optional<std::u16string> path = platform::PathFromFileUrl(s);
        if (!path || path->empty()) return std::nullopt;
        s = std::move(*path);
    }
    return platform::NormalizePath(s);
}

}  // namespace

bool SameFile(const QString& a, const QString& b) {
    const std::optional<std::u16string> pa = LocalPath(a);
    if (!pa) return false;
    const std::optional<std::u16string> pb = LocalPath(b);
    return pb && *pa == *pb;
}

}  // namespace kestrova
