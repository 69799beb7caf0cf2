// The favorites set: the root folder, the knowledge-base folder against which bookmark files
// are checked, and the modified flag.
#pragma once

#include "favorites/bookmark_folder_impl.h"
#include "favorites/bookmark_set.h"

#include <string>
#include <string_view>

namespace kestrova {

class BookmarkSet_impl_ final : public IBookmarkSet, public IBookmarkNodeHost_impl_ {
public:
    explicit BookmarkSet_impl_(std::u16string_view kbFolder) : kbFolder_(kbFolder), root_(this) {}

    bool Load() override;
    bool Save() override;
    bool IsModified() const override { return modified_; }
    IBookmarkFolder* GetRoot() override { return &root_; }
    CountedPtr<IBookmark> CreateBookmark(std::u16string_view title,
                                         std::u16string_view file) override;
    CountedPtr<IBookmarkFolder> CreateFolder(std::u16string_view title) override;

    void SetModified() override { modified_ = true; }
    CountedPtr<IBookmarkNode> CreateNodeFromXml(pugi::xml_node element) override;

    // Load from the bytes of a file: clears the modified flag; false (the tree kept) when the
    // bytes are not a favorites document.
    bool LoadFromBytes(std::string_view bytes);
    // The bytes that Save writes for the current tree.
    std::string SaveToBytes() const;

private:
    std::u16string kbFolder_;
    RootBookmarkFolder_impl_ root_;  // held inside the set; never released to zero
    bool modified_ = false;
};

}  // namespace kestrova
