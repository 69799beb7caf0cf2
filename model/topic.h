// Topics: a page, or a named anchor inside a page. Topics stored in the model are owned by
// it; a topic obtained from a topic set lives until the set is sorted or released.
#pragma once

#include "model/counted.h"

#include <cstdint>

namespace kestrova {

class IPageInfo;
class IURLProvider;

class ITopic {
public:
    // The topic's page, or null when there is no such page.
    virtual IPageInfo* GetPage() = 0;
    // The anchor inside the page, or null for the whole page.
    virtual const char16_t* GetAnchor() = 0;

protected:
    ~ITopic() = default;
};

// The kinds of order of a topic set.
enum TopicSortKind : int32_t {
    kSortByRank = 0,      // the order in which the topics were added (relevance)
    kSortByTitle = 1,     // the titles of the topics' pages
    kSortByLocation = 2,  // the locations of the topics' pages in the contents
};

// How a topic set is ordered. The kind is kept as a plain number, since it may come from
// outside (the view settings): Sort refuses one that is not a TopicSortKind.
struct TopicSortOrder {
    int32_t kind = kSortByRank;
    bool ascending = true;
};

// An ordered, sortable list of topics with ranks (counted). A set is used by one thread at a
// time; it keeps its model alive.
class ITopicSet : public CounterBase_ {
public:
    virtual int32_t GetCount() = 0;
    // The topic of entry i, or null when i is out of range.
    virtual ITopic* GetItem(int32_t i) = 0;
    // The URL provider of the set's model.
    virtual IURLProvider* GetURLProvider() = 0;
    virtual TopicSortOrder GetSortOrder() = 0;
    // Re-orders the entries; false, with nothing changed, for an unknown kind.
    virtual bool Sort(const TopicSortOrder& order) = 0;
};

class ITopicAccess_impl_ {
public:
    // Topic i of the model, or null when i is out of range.
    virtual ITopic* GetTopic(int32_t i) = 0;
    // A new empty set bound to this model (it holds a reference on the model).
    virtual CountedPtr<ITopicSet> CreateTopicSet() = 0;

protected:
    ~ITopicAccess_impl_() = default;
};

}  // namespace kestrova
