#include "model/content_node_decorator_impl.h"

namespace kestrova {

IContentNode* ContentNode_decorator_impl_::GetParent() {
    const int32_t parent = node_->parentIndex;
    if (parent == kNoIndex || !filter_->IsIncluded(parent)) return nullptr;
    return filter_->GetNode(parent);
}

IContentNode* ContentNode_decorator_impl_::GetItem(int32_t i) {
    if (i < 0 || i >= node_->children.Count()) return nullptr;
    return filter_->GetNode(node_->children.Item(i));
}

}  // namespace kestrova
