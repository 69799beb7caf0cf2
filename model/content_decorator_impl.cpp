#include "model/content_decorator_impl.h"

#include "model/content_original_impl.h"

#include <algorithm>

namespace kestrova {

Content_decorator_impl_::Content_decorator_impl_(Content_original_impl_& content,
                                                 int32_t domainIndex)
    : content_(content), domain_(domainIndex) {
    nodes_.reserve(content.nodes.size());
    for (ContentNode_original_impl_& node : content.nodes) nodes_.emplace_back(&node, this);
    CollectRoots();
}

// Depth first from the original roots: a member is a root of the view and its subtree is
// not searched further; a non-member is replaced by its children.
// Each node is looked at once at most, so that even a damaged tree whose child lists loop
// cannot keep the walk going.
void Content_decorator_impl_::CollectRoots() {
    std::vector<int32_t> pending;  // a stack, next node on top
    std::vector<bool> seen(content_.nodes.size());
    for (int32_t i = content_.roots.Count() - 1; i >= 0; --i)
        pending.push_back(content_.roots.Item(i));
    while (!pending.empty()) {
        const int32_t index = pending.back();
        pending.pop_back();
        if (index < 0 || static_cast<size_t>(index) >= content_.nodes.size() ||
            seen[static_cast<size_t>(index)])
            continue;
        seen[static_cast<size_t>(index)] = true;
        if (IsIncluded(index)) {
            roots_.push_back(index);
            continue;
        }
        const IndexList& children = content_.nodes[static_cast<size_t>(index)].children;
        for (int32_t i = children.Count() - 1; i >= 0; --i) pending.push_back(children.Item(i));
    }
}

IContentNode* Content_decorator_impl_::Decorated(IContentNode* original) {
    return original ? GetNode(content_.IndexOf(original)) : nullptr;
}

IContentNode* Content_decorator_impl_::FindNodeByTopic(ITopic* topic) {
    return Decorated(content_.FindNodeByTopic(topic));
}

IContentNode* Content_decorator_impl_::FindNodeByPage(const char16_t* pagePath) {
    return Decorated(content_.FindNodeByPage(pagePath));
}

IContentNode* Content_decorator_impl_::FindNodeByTitlePath(
    const std::vector<std::u16string>& path) {
    return Decorated(content_.FindNodeByTitlePath(path));
}

IContentNode* Content_decorator_impl_::GetItem(int32_t i) {
    if (i < 0 || static_cast<size_t>(i) >= roots_.size()) return nullptr;
    return GetNode(roots_[static_cast<size_t>(i)]);
}

bool Content_decorator_impl_::IsIncluded(int32_t nodeIndex) {
    if (nodeIndex < 0 || static_cast<size_t>(nodeIndex) >= content_.nodes.size()) return false;
    return content_.nodes[static_cast<size_t>(nodeIndex)].domains.Contains(domain_);
}

IContentNode* Content_decorator_impl_::GetNode(int32_t nodeIndex) {
    if (nodeIndex < 0 || static_cast<size_t>(nodeIndex) >= nodes_.size()) return nullptr;
    return &nodes_[static_cast<size_t>(nodeIndex)];
}

}  // namespace kestrova
