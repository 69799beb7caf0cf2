// A bookmark: a title and a page path relative to the knowledge-base folder.
#pragma once

#include "favorites/bookmark_node_impl.h"

#include <string>

namespace kestrova {

class Bookmark_impl_ final : public IBookmark, public IBookmarkNode_impl_ {
public:
    // Checks at once whether `file`, joined to `kbFolder`, is an existing file (not a folder).
    Bookmark_impl_(IBookmarkNodeHost_impl_* host, std::u16string_view kbFolder,
                   std::u16string_view title, std::u16string_view file);

    bool IsBookmark() const override { return true; }
    IBookmarkFolder* GetParent() const override { return parent_; }
    int GetBookmarkCount() const override { return 1; }
    const char16_t* GetTitle() const override { return title_.c_str(); }
    void SetTitle(std::u16string_view text) override;
    IBookmarkNode_impl_* GetNodeImpl() override { return this; }

    const char16_t* GetFile() const override { return file_.c_str(); }
    bool FileExists() const override { return fileExists_; }

    void SetParent(IBookmarkFolder* folder) override { parent_ = folder; }
    void WriteXml(pugi::xml_node element) const override;

private:
    IBookmarkNodeHost_impl_* host_;
    IBookmarkFolder* parent_ = nullptr;
    std::u16string title_;
    std::u16string file_;
    bool fileExists_;
};

// Whether `file` (relative, '\' or '/' separated) joined to the folder names an existing file
// that is not a folder. An empty folder means the current directory.
bool BookmarkFileExists(std::u16string_view kbFolder, std::u16string_view file);

}  // namespace kestrova
