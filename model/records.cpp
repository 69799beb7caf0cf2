#include "model/internal/records.h"

#include <algorithm>

namespace kestrova {

ITopic* ContentNode_original_impl_::GetTopic() {
    if (topicIndex == kNoIndex || !host) return nullptr;
    ITopicAccess_impl_* topics = host->GetTopicAccess();
    return topics ? topics->GetTopic(topicIndex) : nullptr;
}

void ContentNode_original_impl_::GetTitlePath(std::vector<std::u16string>& path) {
    path.clear();
    for (IContentNode* node = this; node; node = node->GetParent()) {
        const char16_t* t = node->GetText();
        path.emplace_back(t ? t : u"");
    }
    std::reverse(path.begin(), path.end());
}

IContentNode* ContentNode_original_impl_::GetParent() {
    return parentIndex == kNoIndex || !host ? nullptr : host->GetNode(parentIndex);
}

IContentNodeList* ContentNode_original_impl_::GetChildren() {
    if ((flags & kNodeHeading) == 0 && children.Count() == 0) return nullptr;
    return this;
}

IContentNode* ContentNode_original_impl_::GetItem(int32_t i) {
    if (i < 0 || i >= children.Count() || !host) return nullptr;
    return host->GetNode(children.Item(i));
}

}  // namespace kestrova
