#include "model/content_original_impl.h"

namespace kestrova {

IContentNode* Content_original_impl_::GetItem(int32_t i) {
    if (i < 0 || i >= roots.Count()) return nullptr;
    return GetNode(roots.Item(i));
}

IContentNode* Content_original_impl_::GetNode(int32_t i) {
    if (i < 0 || static_cast<size_t>(i) >= nodes.size()) return nullptr;
    return &nodes[static_cast<size_t>(i)];
}

int32_t Content_original_impl_::CountChapters() const {
    int32_t n = 0;
    for (const ContentNode_original_impl_& node : nodes) {
        if ((node.flags & kNodeHeading) != 0 || node.children.Count() != 0) ++n;
    }
    return n;
}

}  // namespace kestrova
