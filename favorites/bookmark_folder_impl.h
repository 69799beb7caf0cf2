// Folders of the favorites tree: the children logic shared by all folders, the folders the user
// makes (with a title and a parent), and the set's root (neither).
#pragma once

#include "favorites/bookmark_node_impl.h"

#include <string>
#include <vector>

namespace kestrova {

class BasicBookmarkFolder_impl_ : public IBookmarkFolder, public IBookmarkNode_impl_ {
public:
    explicit BasicBookmarkFolder_impl_(IBookmarkNodeHost_impl_* host) : host_(host) {}
    // Clears the parent of every child that still points here, so a child that outlives its
    // folder never points at a destroyed one.
    ~BasicBookmarkFolder_impl_() override;

    bool IsBookmark() const override { return false; }
    int GetBookmarkCount() const override;
    IBookmarkNode_impl_* GetNodeImpl() override { return this; }

    int GetChildCount() const override { return static_cast<int>(children_.size()); }
    CountedPtr<IBookmarkNode> GetChild(int index) const override;
    int IndexOf(const IBookmarkNode* node) const override;
    void Insert(int index, IBookmarkNode* node) override;
    bool Remove(int index) override;

    // Replaces the children with the nodes the host makes of the element's children, in
    // order; does not mark the set modified.
    void FillFromXml(pugi::xml_node element);

protected:
    // Appends one element per child, in order, each filled by the child.
    void WriteChildren(pugi::xml_node element) const;
    IBookmarkNodeHost_impl_* Host() const { return host_; }

private:
    void ClearChildren();

    IBookmarkNodeHost_impl_* host_;
    std::vector<CountedPtr<IBookmarkNode>> children_;
};

class CustomBookmarkFolder_impl_ final : public BasicBookmarkFolder_impl_ {
public:
    CustomBookmarkFolder_impl_(IBookmarkNodeHost_impl_* host, std::u16string_view title)
        : BasicBookmarkFolder_impl_(host), title_(title) {}

    IBookmarkFolder* GetParent() const override { return parent_; }
    const char16_t* GetTitle() const override { return title_.c_str(); }
    void SetTitle(std::u16string_view text) override;
    void SetParent(IBookmarkFolder* folder) override { parent_ = folder; }
    // A `folder` element with its `title`, then its children.
    void WriteXml(pugi::xml_node element) const override;

private:
    IBookmarkFolder* parent_ = nullptr;
    std::u16string title_;
};

// The root: no title, no parent; it is written as the `bookmarks` document element.
class RootBookmarkFolder_impl_ final : public BasicBookmarkFolder_impl_ {
public:
    using BasicBookmarkFolder_impl_::BasicBookmarkFolder_impl_;

    IBookmarkFolder* GetParent() const override { return nullptr; }
    const char16_t* GetTitle() const override { return nullptr; }
    void SetTitle(std::u16string_view) override {}
    void SetParent(IBookmarkFolder*) override {}
    void WriteXml(pugi::xml_node element) const override;
};

}  // namespace kestrova
