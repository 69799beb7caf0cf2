#include "favorites/internal/bookmarks_file.h"

#include "model/data_folder.h"
#include "model/xml_document.h"
#include "platform/atomic_file.h"
#include "platform/file.h"
#include "platform/io_error.h"

#include <cerrno>

namespace kestrova {
namespace {

std::string DamagedCopyPath(const std::string& path) {
    const size_t dot = path.rfind('.');
    const size_t slash = path.rfind('/');
    const bool hasExtension =
        dot != std::string::npos && (slash == std::string::npos || dot > slash);
    return (hasExtension ? path.substr(0, dot) : path) + ".damaged";
}

// Whether some element below `root` lies more than `limit` levels down (walked without
// recursion, since the depth is what is in question).
bool NestsDeeperThan(pugi::xml_node root, int limit) {
    int depth = 0;
    pugi::xml_node node = root.first_child();
    while (node && node != root) {
        if (node.first_child()) {
            if (++depth > limit) return true;
            node = node.first_child();
            continue;
        }
        while (node != root && !node.next_sibling()) {
            node = node.parent();
            --depth;
        }
        if (node != root) node = node.next_sibling();
    }
    return false;
}

}  // namespace

std::string BookmarksFilePath() {
    const std::string base = BaseFolder();
    return base.empty() ? std::string() : base + "/bookmarks.xml";
}

std::string FormatBookmarksDocument(const pugi::xml_document& document) {
    std::string out;
    WriteXmlDocument(document, [&out](std::string_view bytes) { out += bytes; });
    return out;
}

std::optional<pugi::xml_node> ParseBookmarksDocument(std::string_view bytes,
                                                     pugi::xml_document& document) {
    const pugi::xml_parse_result result =
        document.load_buffer(bytes.data(), bytes.size(), pugi::parse_default, pugi::encoding_auto);
    if (!result) return std::nullopt;
    const pugi::xml_node root = document.child("bookmarks");
    if (!root || NestsDeeperThan(root, kMaxBookmarkDepth)) return std::nullopt;
    return root;
}

std::optional<std::string> ReadBookmarksFile(const std::string& path) {
    try {
        return platform::ReadWholeFile(path);
    } catch (const platform::io_error& e) {
        if (e.code() == ENOENT) return std::nullopt;
        throw;
    }
}

bool ReplaceBookmarksFile(const std::string& path, std::string_view bytes) {
    try {
        const std::optional<std::string> old = ReadBookmarksFile(path);
        pugi::xml_document document;
        if (old && !ParseBookmarksDocument(*old, document)) {
            platform::ReplaceFileContents(DamagedCopyPath(path), *old);
        }
        platform::ReplaceFileContents(path, bytes);
    } catch (const platform::io_error&) {
        return false;  // the caller learns of it by the result
    }
    return true;
}

}  // namespace kestrova
