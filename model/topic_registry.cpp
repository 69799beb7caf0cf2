#include "model/internal/topic_registry.h"

#include "model/internal/model_pool.h"
#include "model/model_original_impl.h"

#include <algorithm>
#include <functional>

namespace kestrova {

size_t TopicRegistry::KeyHash::operator()(const Key& k) const {
    return std::hash<std::u16string_view>()(k.anchor) * 31 + k.page;
}

int32_t TopicRegistry::GetTopicIndex(int32_t pageIndex, std::u16string_view anchor) {
    // Most topics are whole pages: those are found by page index, without hashing.
    const bool wholePage = anchor.empty() && pageIndex >= 0;
    if (wholePage) {
        const auto page = static_cast<size_t>(pageIndex);
        if (page >= pageTopics_.size())
            pageTopics_.resize(std::max(page + 1, 2 * pageTopics_.size()), -1);
        if (pageTopics_[page] >= 0) return pageTopics_[page];
    } else {
        const auto found = topics_.find(Key{static_cast<uint32_t>(pageIndex), anchor});
        if (found != topics_.end()) return found->second;
    }

    const auto index = static_cast<int32_t>(model_.topics.size());
    Topic_impl_& topic = model_.topics.emplace_back();
    topic.pages = &model_;
    topic.pageIndex = pageIndex;
    topic.anchor = anchor.empty() ? nullptr : model_.pool.CopyString(anchor);
    if (wholePage)
        pageTopics_[static_cast<size_t>(pageIndex)] = index;
    else
        topics_.emplace(Key{static_cast<uint32_t>(pageIndex), StringView(topic.anchor)}, index);
    return index;
}

}  // namespace kestrova
