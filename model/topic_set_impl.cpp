#include "model/topic_set_impl.h"

#include "model/model_original_impl.h"

#include <algorithm>

namespace kestrova {

TopicSet_impl_::TopicSet_impl_(CountedPtr<Model_original_impl_> model) : model_(std::move(model)) {}

TopicSet_impl_::~TopicSet_impl_() = default;

ITopic* TopicSet_impl_::GetItem(int32_t i) {
    if (i < 0 || static_cast<size_t>(i) >= entries_.size()) return nullptr;
    return &entries_[static_cast<size_t>(i)].topic;
}

IURLProvider* TopicSet_impl_::GetURLProvider() {
    return model_ ? model_->GetURLProvider() : nullptr;
}

bool TopicSet_impl_::Sort(const TopicSortOrder& order) {
    const std::unique_ptr<ITopicPred_impl_> pred = MakeTopicPred(order);
    if (!pred) return false;
    std::sort(entries_.begin(), entries_.end(),
              [&pred](const TopicSetEntry& a, const TopicSetEntry& b) {
                  return pred->Compare(a, b) < 0;
              });
    order_ = order;
    return true;
}

void TopicSet_impl_::AddTopic(const Topic_impl_& topic) {
    TopicSetEntry& entry = entries_.emplace_back();
    entry.rank = static_cast<int32_t>(entries_.size() - 1);
    entry.topic.pages = topic.pages;
    entry.topic.pageIndex = topic.pageIndex;
    entry.topic.anchor = topic.anchor;
}

CountedPtr<TopicSet_impl_> TopicSet_impl_::FilterByDomain(int32_t domainIndex) const {
    auto filtered = MakeCounted<TopicSet_impl_>(model_);
    filtered->order_ = order_;
    for (const TopicSetEntry& entry : entries_) {
        const int32_t page = entry.topic.pageIndex;
        if (!model_ || page < 0 || static_cast<size_t>(page) >= model_->pages.size()) continue;
        if (model_->pages[static_cast<size_t>(page)].domains.Contains(domainIndex))
            filtered->entries_.push_back(entry);
    }
    return filtered;
}

TopicSet_impl_* AsTopicSetImpl(ITopicSet* set) { return dynamic_cast<TopicSet_impl_*>(set); }

const Topic_impl_* AsTopicImpl(ITopic* topic) { return dynamic_cast<const Topic_impl_*>(topic); }

CountedPtr<ITopicSet> Model_original_impl_::CreateTopicSet() {
    return MakeCounted<TopicSet_impl_>(CountedPtr<Model_original_impl_>::Share(this));
}

}  // namespace kestrova
