// A node of a domain view's contents: the original node, with its parent and children
// reached through the view's filter. Also the list of its own children.
#pragma once

#include "model/content.h"
#include "model/internal/records.h"

namespace kestrova {

class ContentNode_decorator_impl_ final : public IContentNode, public IContentNodeList {
public:
    ContentNode_decorator_impl_(ContentNode_original_impl_* node, IContentFilter_impl_* filter)
        : node_(node), filter_(filter) {}

    // IContentNode: text, topic and title path are the original node's (the title path
    // includes ancestors outside the view).
    const char16_t* GetText() override { return node_->GetText(); }
    ITopic* GetTopic() override { return node_->GetTopic(); }
    void GetTitlePath(std::vector<std::u16string>& path) override { node_->GetTitlePath(path); }
    // Null when the original node has no parent or its parent is outside the view.
    IContentNode* GetParent() override;
    IContentNodeList* GetChildren() override { return node_->GetChildren() ? this : nullptr; }

    // The node of the unrestricted contents this node shows.
    ContentNode_original_impl_* Original() const { return node_; }

    // IContentNodeList: all children of the original node (members whenever it is one).
    int32_t GetCount() override { return node_->children.Count(); }
    IContentNode* GetItem(int32_t i) override;

private:
    ContentNode_original_impl_* node_;
    IContentFilter_impl_* filter_;
};

}  // namespace kestrova
