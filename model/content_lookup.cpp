// The lookups of the original contents: by topic, by page path and by a chain of texts.
#include "model/content_original_impl.h"

#include "model/internal/model_pool.h"
#include "model/page_info.h"
#include "model/topic_set_impl.h"
#include "platform/text.h"

namespace kestrova {
namespace {

bool SamePage(ITopic& a, ITopic& b) {
    const Topic_impl_* ia = AsTopicImpl(&a);
    const Topic_impl_* ib = AsTopicImpl(&b);
    if (ia && ib) return ia->pages == ib->pages && ia->pageIndex == ib->pageIndex;
    IPageInfo* pa = a.GetPage();
    return pa && pa == b.GetPage();
}

bool SameAnchor(ITopic& a, ITopic& b) {
    const char16_t* x = a.GetAnchor();
    const char16_t* y = b.GetAnchor();
    if (!x || !y) return !x && !y;
    return StringView(x) == StringView(y);
}

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && platform::ToLower(a[i]) != platform::ToLower(b[i])) return false;
    }
    return true;
}

}  // namespace

// Primary-profile nodes with a topic, in index order, are the candidates of both searches.
ITopic* Content_original_impl_::CandidateTopic(const ContentNode_original_impl_& node) {
    if ((node.flags & kNodeSecondaryProfile) != 0 || node.topicIndex == kNoIndex || !topics_)
        return nullptr;
    return topics_->GetTopic(node.topicIndex);
}

IContentNode* Content_original_impl_::FindNodeByTopic(ITopic* topic) {
    if (!topic) return nullptr;
    IContentNode* samePage = nullptr;
    for (ContentNode_original_impl_& node : nodes) {
        ITopic* own = CandidateTopic(node);
        if (!own || !SamePage(*own, *topic)) continue;
        if (SameAnchor(*own, *topic)) return &node;
        if (!samePage) samePage = &node;
    }
    return samePage;
}

IContentNode* Content_original_impl_::FindNodeByPage(const char16_t* pagePath) {
    const std::u16string_view path = StringView(pagePath);
    IContentNode* withAnchor = nullptr;
    for (ContentNode_original_impl_& node : nodes) {
        ITopic* own = CandidateTopic(node);
        IPageInfo* page = own ? own->GetPage() : nullptr;
        if (!page || !EqualsIgnoringCase(StringView(page->GetPath()), path)) continue;
        if (!own->GetAnchor()) return &node;
        if (!withAnchor) withAnchor = &node;
    }
    return withAnchor;
}

IContentNode* Content_original_impl_::FindNodeByTitlePath(const std::vector<std::u16string>& path) {
    IContentNodeList* list = GetRoots();
    IContentNode* found = nullptr;
    for (const std::u16string& text : path) {
        found = nullptr;
        const int32_t n = list ? list->GetCount() : 0;
        for (int32_t i = 0; i < n && !found; ++i) {
            IContentNode* node = list->GetItem(i);
            if (node && StringView(node->GetText()) == text) found = node;
        }
        if (!found) return nullptr;
        list = found->GetChildren();
    }
    return found;
}

int32_t Content_original_impl_::IndexOf(const IContentNode* node) const {
    const auto* record = dynamic_cast<const ContentNode_original_impl_*>(node);
    if (!record || nodes.empty() || record < nodes.data() || record >= nodes.data() + nodes.size())
        return kNoIndex;
    return static_cast<int32_t>(record - nodes.data());
}

}  // namespace kestrova
