// The orders a topic set can be sorted in. One predicate object is made per sort.
#pragma once

#include "model/internal/records.h"
#include "model/topic.h"

#include <memory>

namespace kestrova {

class IPageInfo;

// One entry of a topic set: its rank (the number of entries before it when it was added)
// and a copy of the topic.
struct TopicSetEntry {
    int32_t rank = 0;
    Topic_impl_ topic;
};

class ITopicPred_impl_ {
public:
    virtual ~ITopicPred_impl_() = default;
    // Negative when a goes before b, 0 when their keys are equal, positive otherwise.
    virtual int Compare(const TopicSetEntry& a, const TopicSetEntry& b) const = 0;
};

// Compares keys, and negates the result for a descending order.
class TopicBasicPred_impl_ : public ITopicPred_impl_ {
public:
    explicit TopicBasicPred_impl_(bool ascending) : ascending_(ascending) {}
    int Compare(const TopicSetEntry& a, const TopicSetEntry& b) const override;
    // The keys of the two entries compared in ascending order: -1, 0 or 1.
    virtual int CompareKeys(const TopicSetEntry& a, const TopicSetEntry& b) const = 0;

private:
    bool ascending_;
};

// By rank.
class TopicRankPred_impl_ : public TopicBasicPred_impl_ {
public:
    using TopicBasicPred_impl_::TopicBasicPred_impl_;
    int CompareKeys(const TopicSetEntry& a, const TopicSetEntry& b) const override;
};

// By a string of the topic's page: a missing page or string is a null key, null keys are
// equal and less than any string, strings compare by code units.
class TopicPagePred_impl_ : public TopicBasicPred_impl_ {
public:
    using TopicBasicPred_impl_::TopicBasicPred_impl_;
    int CompareKeys(const TopicSetEntry& a, const TopicSetEntry& b) const override;
    // The key string of a page (never called with null), or null.
    virtual const char16_t* GetKey(IPageInfo* page) const = 0;
};

// By page title.
class TopicTitlePred_impl_ : public TopicPagePred_impl_ {
public:
    using TopicPagePred_impl_::TopicPagePred_impl_;
    const char16_t* GetKey(IPageInfo* page) const override;
};

// By page location.
class TopicLocationPred_impl_ : public TopicPagePred_impl_ {
public:
    using TopicPagePred_impl_::TopicPagePred_impl_;
    const char16_t* GetKey(IPageInfo* page) const override;
};

// The predicate of a sort order, or null for a kind that is not a TopicSortKind.
std::unique_ptr<ITopicPred_impl_> MakeTopicPred(const TopicSortOrder& order);

}  // namespace kestrova
