// Where the pages of a folder are opened from, in the order the folder scan lists them: a
// descriptor of the folder of the current page is kept while the following pages share it, so
// that opening a page resolves its file name only, not its whole path.
#pragma once

#include <string>
#include <string_view>

namespace kestrova {

class PageFolderCursor {
public:
    // `folder`: the page folder (the model's HTML folder).
    explicit PageFolderCursor(std::u16string_view folder);
    ~PageFolderCursor();
    PageFolderCursor(const PageFolderCursor&) = delete;
    PageFolderCursor& operator=(const PageFolderCursor&) = delete;

    // Positions on the page at `relative` (a path of the folder scan, '\' between folders).
    // Afterwards the page is opened as Path() relative to Folder(): the page's folder and its
    // native file name, or AT_FDCWD and the page's whole native path (what
    // NativePath(JoinPath(folder, relative)) gives) when its folder cannot be opened.
    void MoveTo(std::u16string_view relative);
    int Folder() const { return dirFd_; }
    const std::string& Path() const { return path_; }

private:
    std::string root_;        // native path of the page folder, ending in '/'
    std::u16string current_;  // relative path of the folder held open
    bool positioned_ = false;
    int dirFd_;
    std::string path_;
};

}  // namespace kestrova
