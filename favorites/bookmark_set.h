// The favorites of one user: a tree of folders and bookmarks kept in the file bookmarks.xml in
// the per-user base folder ($XDG_DATA_HOME/Kestrova), shared by all knowledge bases
// (docs/bookmarks.md describes the file). A set is made for one knowledge-base folder, which
// only serves to check whether each bookmark's page exists.
//
// Used from one thread (the window thread). Several sets over the same file may be used at
// once, in one process or several: the last one to save wins, and a reader never sees a file
// half written.
#pragma once

#include "favorites/bookmark_node.h"

#include <string_view>

namespace kestrova {

class IBookmarkSet : public CounterBase_ {
public:
    ~IBookmarkSet() override = default;
    // Replaces the tree with the contents of bookmarks.xml and clears the modified flag. False
    // (the tree left as it was) when the base folder is unknown, or the file is missing,
    // unreadable, not well-formed XML, or has no `bookmarks` element. Elements that lack a
    // needed attribute are passed over.
    virtual bool Load() = 0;
    // Writes the tree to bookmarks.xml, replacing the file in one step (a crash leaves the old
    // or the new file). A file that cannot be loaded is first kept as bookmarks.damaged beside
    // it. True when the file was written; the modified flag is cleared either way.
    virtual bool Save() = 0;
    // Whether the tree changed since the last Load or Save.
    virtual bool IsModified() const = 0;
    // The root folder, owned by the set (no reference is given); it has no title.
    virtual IBookmarkFolder* GetRoot() = 0;
    // A new bookmark in no folder, owned by the caller; whether its file exists is checked now.
    // The set is not marked modified.
    virtual CountedPtr<IBookmark> CreateBookmark(std::u16string_view title,
                                                 std::u16string_view file) = 0;
    // A new empty folder in no folder, owned by the caller.
    virtual CountedPtr<IBookmarkFolder> CreateFolder(std::u16string_view title) = 0;
};

// A new set with an empty root and the modified flag clear, for the knowledge-base folder
// `kbFolder` (a native path as UTF-16); the file is not read until Load.
CountedPtr<IBookmarkSet> CreateBookmarkSet(std::u16string_view kbFolder);

}  // namespace kestrova
