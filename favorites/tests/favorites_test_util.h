// A private base folder per test, and small builders of favorites trees.
#pragma once

#include "favorites/bookmark_set.h"
#include "platform/tests/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace kestrova::test {

// Points XDG_DATA_HOME at a fresh folder (with the base folder Kestrova in it) for the life of
// the object, and restores it afterwards.
class PrivateDataHome {
public:
    explicit PrivateDataHome(const std::string& name) : root_(testing::FreshScratchDir(name)) {
        if (const char* old = std::getenv("XDG_DATA_HOME")) old_ = old;
        ::setenv("XDG_DATA_HOME", root_.c_str(), 1);
        std::filesystem::create_directories(Base());
    }
    ~PrivateDataHome() {
        if (old_.empty()) ::unsetenv("XDG_DATA_HOME");
        else ::setenv("XDG_DATA_HOME", old_.c_str(), 1);
    }
    std::filesystem::path Base() const { return root_ / "Kestrova"; }
    std::filesystem::path File() const { return Base() / "bookmarks.xml"; }

private:
    std::filesystem::path root_;
    std::string old_;
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
inline void AddBookmarks(IBookmarkSet& set, IBookmarkFolder& folder, const std::u16string& prefix, int count) {
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
