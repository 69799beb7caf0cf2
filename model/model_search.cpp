// The searches of the model and its full-text index: FindTopics, IsIndexReady, BuildIndex.
#include "model/model_original_impl.h"
#include "model/page_list_files.h"
#include "model/topic_set_impl.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "search/index_builder.h"
#include "search/index_store.h"
#include "search/searcher_impl.h"
#include "search/string_search.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

constexpr int32_t kStageSearch = 4;

void AddPage(TopicSet_impl_& set, Model_original_impl_& model, int32_t pageIndex) {
    Topic_impl_ topic;
    topic.pages = &model;
    topic.pageIndex = pageIndex;
    set.AddTopic(topic);
}

void FindInTitles(Model_original_impl_& model, const char16_t* query, uint32_t options, IExecControl& control,
                  TopicSet_impl_& set) {
    std::unique_ptr<IStringSearch_impl_> matcher = CreateStringSearch(query, options);
    if (!matcher) return;
    std::vector<std::pair<int32_t, int32_t>> scored;  // page index, score
    for (size_t i = 0; i < model.pages.size(); ++i) {
        const int32_t score = matcher->CountMatches(model.pages[i].title);
        if (score > 0) scored.emplace_back(static_cast<int32_t>(i), score);
        CheckBreak(control);
    }
    std::sort(scored.begin(), scored.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [page, score] : scored) AddPage(set, model, page);
}

void FindInText(Model_original_impl_& model, const char16_t* query, uint32_t options, IExecControl& control,
                TopicSet_impl_& set) {
    const int32_t kind = (options & kSearchRelatedWords) ? kIndexLemmatizing : kIndexPrecise;
    Searcher searcher(model.DataFolder(), kind, (options & kSearchQueryLanguage) != 0);
    CheckBreak(control);
    std::vector<std::u16string> paths;
    if (!searcher.Search(std::u16string(StringView(query)), paths)) return;
    CheckBreak(control);
    for (const std::u16string& path : paths) {
        const int32_t page = model.FindPageIndex(path);
        if (page != kNoIndex) AddPage(set, model, page);
        CheckBreak(control);
    }
}

}  // namespace

CountedPtr<ITopicSet> Model_original_impl_::FindTopics(const char16_t* query, uint32_t options,
                                                       IExecControl& control) {
    CountedPtr<ITopicSet> result = CreateTopicSet();
    TopicSet_impl_& set = *AsTopicSetImpl(result.get());
    control.ReportProgress(ExecProgress{kStageSearch, -1, -1});
    if (options & kSearchTitles) {
        FindInTitles(*this, query, options, control, set);
    } else {
        FindInText(*this, query, options, control, set);
    }
    return result;
}

bool Model_original_impl_::IsIndexReady() {
    return AreIndexesCurrent(DataFolder(), uid);
}

void Model_original_impl_::BuildIndex(IExecControl& control) {
    PageListFiles files(*this);
    BuildIndexes(files, DataFolder(), uid, control);
}

}  // namespace kestrova
