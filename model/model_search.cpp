// The searches of the model and its full-text index: FindTopics, IsIndexReady, BuildIndex.
#include "model/internal/page_list_files.h"
#include "model/model_original_impl.h"
#include "model/topic_set_impl.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "search/index_builder.h"
#include "search/index_store.h"
#include "search/searcher.h"
#include "search/title_words.h"

#include <algorithm>
#include <optional>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

void AddPage(TopicSet_impl_& set, Model_original_impl_& model, int32_t pageIndex) {
    Topic_impl_ topic;
    topic.pages = &model;
    topic.pageIndex = pageIndex;
    set.AddTopic(topic);
}

void FindInTitles(Model_original_impl_& model, const char16_t* query, uint32_t options,
                  IExecControl& control, TopicSet_impl_& set) {
    // Each title's score is the count of the matcher CreateStringSearch makes for the query,
    // computed over the titles' words split once for the model.
    const std::vector<int32_t> scores = model.GetTitleWords().Scores(query, options);
    std::vector<std::pair<int32_t, int32_t>> scored;  // page index, score
    for (size_t i = 0; i < scores.size(); ++i) {
        if (scores[i] > 0) scored.emplace_back(static_cast<int32_t>(i), scores[i]);
        CheckBreak(control);
    }
    std::sort(scored.begin(), scored.end(),
              [](const auto& a, const auto& b) { return a.second > b.second; });
    for (const auto& [page, score] : scored) AddPage(set, model, page);
}

// The page a hit names: the first page whose relative path equals the hit's stored path,
// letter case ignored. When the index was built from this very model (its identity is the
// model's identifier and it has one document per page), document n is page n, so the stored
// path is the page's own and need not be read from the index, where it lies behind the page
// text.
class HitPages {
public:
    HitPages(Model_original_impl_& model, Searcher& searcher)
        : model_(model),
          searcher_(searcher),
          documentsArePages_(searcher.Identity() == model.uid &&
                             static_cast<size_t>(searcher.DocumentCount()) == model.pages.size()) {}

    int32_t PageOf(int32_t document) {
        if (documentsArePages_ && document >= 0 &&
            static_cast<size_t>(document) < model_.pages.size()) {
            return model_.FirstPageWithPathOf(document);
        }
        const std::optional<std::u16string> path = searcher_.StoredPath(document);
        return path ? model_.FindPageIndex(*path) : kNoIndex;
    }

private:
    Model_original_impl_& model_;
    Searcher& searcher_;
    const bool documentsArePages_;
};

void FindInText(Model_original_impl_& model, const char16_t* query, uint32_t options,
                IExecControl& control, TopicSet_impl_& set) {
    const IndexKind kind = (options & kSearchRelatedWords) ? kIndexLemmatizing : kIndexPrecise;
    Searcher searcher(model.DataFolder(), kind, (options & kSearchQueryLanguage) != 0);
    CheckBreak(control);
    std::vector<int32_t> documents;
    if (searcher.SearchDocuments(std::u16string(StringView(query)), documents) !=
        SearchOutcome::kSearched) {
        return;  // blocked by an index build, or no query: an empty result
    }
    CheckBreak(control);
    HitPages pages(model, searcher);
    for (const int32_t document : documents) {
        const int32_t page = pages.PageOf(document);
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

bool Model_original_impl_::IsIndexReady() { return AreIndexesCurrent(DataFolder(), uid); }

void Model_original_impl_::BuildIndex(IExecControl& control) {
    PageListFiles files(*this);
    BuildIndexes(files, DataFolder(), uid, control);
}

}  // namespace kestrova
