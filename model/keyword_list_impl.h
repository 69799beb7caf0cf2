// The keyword list of a model: keywords sorted in keyword order (case-insensitive, ties
// broken case-sensitively).
#pragma once

#include "model/internal/records.h"
#include "model/keyword.h"

#include <vector>

namespace kestrova {

class KeywordList_impl_ final : public IKeywordList {
public:
    // `topics` is the model's topic access; it must outlive the list.
    explicit KeywordList_impl_(ITopicAccess_impl_* topics) : topics_(topics) {}

    int32_t GetCount() override { return static_cast<int32_t>(items.size()); }
    IKeyword* GetItem(int32_t i) override {
        return i >= 0 && static_cast<size_t>(i) < items.size() ? &items[static_cast<size_t>(i)]
                                                               : nullptr;
    }
    int32_t FindKeyword(const char16_t* text) override;
    CountedPtr<ITopicSet> GetKeywordTopics(const char16_t* text) override;

    ITopicAccess_impl_* TopicAccess() const { return topics_; }

    // Filled once by the build (then sorted) or by the cache reader.
    std::vector<Keyword_impl_> items;

private:
    ITopicAccess_impl_* const topics_;
};

}  // namespace kestrova
