// A private base folder per test, file helpers, and small builders of favorites trees.
#pragma once

#include "favorites/bookmark_set.h"
#include "platform/tests/private_data_home.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova::test {

// A private base folder, with the path of its bookmarks.xml.
class PrivateDataHome : public testing::PrivateDataHome {
public:
    using testing::PrivateDataHome::PrivateDataHome;
    std::filesystem::path File() const { return Base() / "bookmarks.xml"; }
};

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

inline void WriteBytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Appends `count` bookmarks titled PREFIX0, PREFIX1, ... to the folder.
inline void AddBookmarks(IBookmarkSet& set, IBookmarkFolder& folder, const std::u16string& prefix,
                         int count) {
    for (int i = 0; i < count; ++i) {
        const std::string n = std::to_string(i);
        const std::u16string title = prefix + std::u16string(n.begin(), n.end());
        folder.Insert(-1, set.CreateBookmark(title, u"pages\\" + title + u".html").get());
    }
}

}  // namespace kestrova::test

namespace kestrova::test {

// One of two distinct large trees (which = 0 or 1), for the saves of the crash test.
inline void BuildLargeTree(IBookmarkSet& set, int which) {
    IBookmarkFolder& root = *set.GetRoot();
    while (root.GetChildCount() > 0) root.Remove(0);
    CountedPtr<IBookmarkFolder> folder = set.CreateFolder(which == 0 ? u"Законы" : u"Стандарты");
    AddBookmarks(set, *folder, which == 0 ? u"Статья " : u"ГОСТ ", 2000 + 500 * which);
    root.Insert(-1, folder.get());
    AddBookmarks(set, root, u"top", 10 + which);
}

}  // namespace kestrova::test
