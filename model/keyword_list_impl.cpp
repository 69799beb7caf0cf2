#include "model/keyword_list_impl.h"

#include "model/internal/keyword_build.h"
#include "model/internal/model_pool.h"
#include "model/topic_set_impl.h"

namespace kestrova {

int32_t KeywordList_impl_::FindKeyword(const char16_t* text) {
    const std::u16string_view key = StringView(text);
    size_t lo = 0, hi = items.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (CompareKeywords(StringView(items[mid].text), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo == items.size() ? -1 : static_cast<int32_t>(lo);
}

CountedPtr<ITopicSet> KeywordList_impl_::GetKeywordTopics(const char16_t* text) {
    CountedPtr<ITopicSet> set = topics_->CreateTopicSet();
    TopicSet_impl_* fill = AsTopicSetImpl(set.get());
    const int32_t i = FindKeyword(text);
    if (!fill || i < 0 ||
        CompareKeywords(StringView(items[static_cast<size_t>(i)].text), StringView(text)) != 0) {
        return set;
    }
    const IndexList& list = items[static_cast<size_t>(i)].topics;
    for (int32_t k = 0; k < list.Count(); ++k) {
        if (const Topic_impl_* topic = AsTopicImpl(topics_->GetTopic(list.Item(k))))
            fill->AddTopic(*topic);
    }
    return set;
}

}  // namespace kestrova
