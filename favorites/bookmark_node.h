// The nodes of the favorites tree: bookmarks (a title and a page path) and folders (a title
// and an ordered list of child nodes). Nodes are counted objects (model/counted.h): a new node
// starts with the creator's reference; a folder holds one reference to each child, and a child
// points back to its folder without one.
//
// The tree is used from one thread (the window thread); only the reference counts are atomic.
// Every change of a node (SetTitle, Insert, Remove) marks the set that made it modified
// (IBookmarkSet), wherever the node is; such changes need that set to be alive. Reading a node
// does not.
#pragma once

#include "model/counted.h"

#include <string>

namespace kestrova {

class IBookmarkFolder;
class IBookmarkNode_impl_;

class IBookmarkNode : public CounterBase_ {
public:
    ~IBookmarkNode() override = default;
    // True for a bookmark, false for a folder.
    virtual bool IsBookmark() const = 0;
    // The folder that holds the node (no reference is given); null for the root and for a
    // node that is in no folder.
    virtual IBookmarkFolder* GetParent() const = 0;
    // 1 for a bookmark; for a folder the number of bookmarks in its whole subtree.
    virtual int GetBookmarkCount() const = 0;
    // The title; null for the root. Valid until the title is changed or the node destroyed.
    virtual const char16_t* GetTitle() const = 0;
    // Replaces the title and marks the set modified, unless the text equals the title (same
    // code units); the root ignores it.
    virtual void SetTitle(std::u16string_view text) = 0;
    // The node's internal side (parent link, writing); for the set and the folders only.
    virtual IBookmarkNode_impl_* GetNodeImpl() = 0;
};

class IBookmark : public IBookmarkNode {
public:
    // The page, as a path relative to the set's knowledge-base folder, parts joined by '\'
    // (a '/' is accepted too). Valid as long as the bookmark.
    virtual const char16_t* GetFile() const = 0;
    // Whether the page was an existing file (not a folder) when the bookmark was created; it is
    // not checked again later.
    virtual bool FileExists() const = 0;
};

class IBookmarkFolder : public IBookmarkNode {
public:
    // The number of direct children.
    virtual int GetChildCount() const = 0;
    // A new reference to the child at `index`, or null when the index is out of range.
    virtual CountedPtr<IBookmarkNode> GetChild(int index) const = 0;
    // The first position that holds this very node, or -1.
    virtual int IndexOf(const IBookmarkNode* node) const = 0;
    // Inserts the node before the child at `index`, or appends it when the index is negative
    // or not below the child count. The folder takes a reference and becomes the node's parent;
    // the node is not taken out of another folder (a move is Remove, then Insert) and is not
    // checked for cycles or duplicates. Marks the set modified. A null node is ignored.
    virtual void Insert(int index, IBookmarkNode* node) = 0;
    // Takes the child at `index` out (the later ones move up), clears its parent, marks the
    // set modified and gives up the folder's reference. False when the index is out of range.
    virtual bool Remove(int index) = 0;
};

}  // namespace kestrova
