#include "model/topic_registry.h"

#include "model/model_original_impl.h"
#include "model/model_pool.h"

#include <functional>

namespace kestrova {

size_t TopicRegistry::KeyHash::operator()(const Key& k) const {
    return std::hash<std::u16string_view>()(k.anchor) * 31 + k.page;
}

int32_t TopicRegistry::GetTopicIndex(int32_t pageIndex, std::u16string_view anchor) {
    const auto found = topics_.find(Key{static_cast<uint32_t>(pageIndex), anchor});
    if (found != topics_.end()) return found->second;

    const auto index = static_cast<int32_t>(model_.topics.size());
    Topic_impl_& topic = model_.topics.emplace_back();
    topic.pages = &model_;
    topic.pageIndex = pageIndex;
    topic.anchor = anchor.empty() ? nullptr : model_.pool.CopyString(anchor);
    topics_.emplace(Key{static_cast<uint32_t>(pageIndex), StringView(topic.anchor)}, index);
    return index;
}

}  // namespace kestrova
