// A topic set: an ordered, sortable list of topics of one model, each with a rank. Made empty
// by the model's CreateTopicSet and filled by the model (AddTopic) before it is handed out;
// afterwards only Sort changes it. One thread at a time; it keeps its model alive.
#pragma once

#include "model/counted.h"
#include "model/topic.h"
#include "model/topic_pred_impl.h"

#include <vector>

namespace kestrova {

class Model_original_impl_;

class TopicSet_impl_ final : public ITopicSet {
public:
    // An empty set of the model, ordered by rank ascending.
    explicit TopicSet_impl_(CountedPtr<Model_original_impl_> model);
    ~TopicSet_impl_() override;

    // ITopicSet
    int32_t GetCount() override { return static_cast<int32_t>(entries_.size()); }
    ITopic* GetItem(int32_t i) override;
    IURLProvider* GetURLProvider() override;
    TopicSortOrder GetSortOrder() override { return order_; }
    bool Sort(const TopicSortOrder& order) override;

    // Appends a copy of the topic; its rank is the number of entries before it.
    void AddTopic(const Topic_impl_& topic);
    // A new set of the same model and sort order with the entries, in order and with their
    // ranks, whose page belongs to the domain. This set is unchanged.
    CountedPtr<TopicSet_impl_> FilterByDomain(int32_t domainIndex) const;

    // The entries in their current order.
    const std::vector<TopicSetEntry>& Entries() const { return entries_; }

private:
    CountedPtr<Model_original_impl_> model_;
    std::vector<TopicSetEntry> entries_;
    TopicSortOrder order_;
};

// The TopicSet_impl_ behind a set, or null when the set is of another kind.
TopicSet_impl_* AsTopicSetImpl(ITopicSet* set);

// The Topic_impl_ behind a topic, or null when the topic is of another kind.
const Topic_impl_* AsTopicImpl(ITopic* topic);

}  // namespace kestrova
