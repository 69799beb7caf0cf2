#include "favorites/bookmark_folder_impl.h"

#include "model/xml_document.h"

namespace kestrova {

BasicBookmarkFolder_impl_::~BasicBookmarkFolder_impl_() { ClearChildren(); }

void BasicBookmarkFolder_impl_::ClearChildren() {
    for (const CountedPtr<IBookmarkNode>& child : children_) {
        if (child->GetParent() == this) child->GetNodeImpl()->SetParent(nullptr);
    }
    children_.clear();
}

int BasicBookmarkFolder_impl_::GetBookmarkCount() const {
    int count = 0;
    for (const CountedPtr<IBookmarkNode>& child : children_) count += child->GetBookmarkCount();
    return count;
}

CountedPtr<IBookmarkNode> BasicBookmarkFolder_impl_::GetChild(int index) const {
    if (index < 0 || index >= GetChildCount()) return nullptr;
    return children_[static_cast<size_t>(index)];
}

int BasicBookmarkFolder_impl_::IndexOf(const IBookmarkNode* node) const {
    for (size_t i = 0; i < children_.size(); ++i) {
        if (children_[i].get() == node) return static_cast<int>(i);
    }
    return -1;
}

void BasicBookmarkFolder_impl_::Insert(int index, IBookmarkNode* node) {
    if (!node) return;
    CountedPtr<IBookmarkNode> held = CountedPtr<IBookmarkNode>::Share(node);
    if (index >= 0 && index < GetChildCount()) {
        children_.insert(children_.begin() + index, std::move(held));
    } else {
        children_.push_back(std::move(held));
    }
    node->GetNodeImpl()->SetParent(this);
    host_->SetModified();
}

bool BasicBookmarkFolder_impl_::Remove(int index) {
    if (index < 0 || index >= GetChildCount()) return false;
    // The folder's reference is given up last, after the set has been told.
    CountedPtr<IBookmarkNode> child = std::move(children_[static_cast<size_t>(index)]);
    child->GetNodeImpl()->SetParent(nullptr);
    children_.erase(children_.begin() + index);
    host_->SetModified();
    return true;
}

void BasicBookmarkFolder_impl_::FillFromXml(pugi::xml_node element) {
    ClearChildren();
    for (pugi::xml_node item : element.children()) {
        CountedPtr<IBookmarkNode> node = host_->CreateNodeFromXml(item);
        if (!node) continue;
        node->GetNodeImpl()->SetParent(this);
        children_.push_back(std::move(node));
    }
}

void BasicBookmarkFolder_impl_::WriteChildren(pugi::xml_node element) const {
    for (const CountedPtr<IBookmarkNode>& child : children_) {
        child->GetNodeImpl()->WriteXml(element.append_child(pugi::node_element));
    }
}

void CustomBookmarkFolder_impl_::SetTitle(std::u16string_view text) {
    if (text == title_) return;
    title_ = text;
    Host()->SetModified();
}

void CustomBookmarkFolder_impl_::WriteXml(pugi::xml_node element) const {
    element.set_name("folder");
    SetXmlAttribute(element, "title", title_);
    WriteChildren(element);
}

void RootBookmarkFolder_impl_::WriteXml(pugi::xml_node element) const {
    element.set_name("bookmarks");
    WriteChildren(element);
}

}  // namespace kestrova
