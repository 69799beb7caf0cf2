#include "model/topic_pred_impl.h"

#include "model/internal/model_pool.h"
#include "model/page_info.h"
#include "platform/text.h"

namespace kestrova {

int TopicBasicPred_impl_::Compare(const TopicSetEntry& a, const TopicSetEntry& b) const {
    const int c = CompareKeys(a, b);
    return ascending_ ? c : -c;
}

int TopicRankPred_impl_::CompareKeys(const TopicSetEntry& a, const TopicSetEntry& b) const {
    return a.rank < b.rank ? -1 : (a.rank > b.rank ? 1 : 0);
}

int TopicPagePred_impl_::CompareKeys(const TopicSetEntry& a, const TopicSetEntry& b) const {
    // GetPage is not const on the interface; the copies in the entries are ours to ask.
    IPageInfo* pa = const_cast<Topic_impl_&>(a.topic).GetPage();
    IPageInfo* pb = const_cast<Topic_impl_&>(b.topic).GetPage();
    const char16_t* ka = pa ? GetKey(pa) : nullptr;
    const char16_t* kb = pb ? GetKey(pb) : nullptr;
    if (!ka || !kb) return ka ? 1 : (kb ? -1 : 0);
    return platform::CompareCodeUnits(StringView(ka), StringView(kb));
}

const char16_t* TopicTitlePred_impl_::GetKey(IPageInfo* page) const { return page->GetTitle(); }

const char16_t* TopicLocationPred_impl_::GetKey(IPageInfo* page) const {
    return page->GetLocation();
}

std::unique_ptr<ITopicPred_impl_> MakeTopicPred(const TopicSortOrder& order) {
    switch (order.kind) {
        case kSortByRank:
            return std::make_unique<TopicRankPred_impl_>(order.ascending);
        case kSortByTitle:
            return std::make_unique<TopicTitlePred_impl_>(order.ascending);
        case kSortByLocation:
            return std::make_unique<TopicLocationPred_impl_>(order.ascending);
        default:
            return nullptr;
    }
}

}  // namespace kestrova
