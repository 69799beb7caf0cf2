// The internal sides of the favorites tree: what every node offers its folder and the set
// (IBookmarkNode_impl_), and what the set offers its nodes (IBookmarkNodeHost_impl_).
#pragma once

#include "favorites/bookmark_node.h"

#include <pugixml.hpp>

namespace kestrova {

class IBookmarkNode_impl_ {
public:
    // Records the folder that now holds the node (a plain pointer), or null.
    virtual void SetParent(IBookmarkFolder* folder) = 0;
    // Fills a new, empty element with the node: its name, attributes and children.
    virtual void WriteXml(pugi::xml_node element) const = 0;

protected:
    ~IBookmarkNode_impl_() = default;
};

// REQUIRES: the host outlives every change made to its nodes (SetTitle, Insert, Remove), since
// a node keeps a plain pointer to it.
class IBookmarkNodeHost_impl_ {
public:
    // Marks the set modified.
    virtual void SetModified() = 0;
    // A new node for a `bookmark` or `folder` element (a folder with its whole subtree); null
    // for an element that lacks a needed attribute, any other element and any other node.
    virtual CountedPtr<IBookmarkNode> CreateNodeFromXml(pugi::xml_node element) = 0;

protected:
    ~IBookmarkNodeHost_impl_() = default;
};

}  // namespace kestrova
