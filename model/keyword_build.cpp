#include "model/internal/keyword_build.h"

#include "model/internal/topic_registry.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"
#include "model/page/log.h"
#include "platform/text.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

// The declarations of one keyword text: (declaration number, topic index) in order.
struct KeywordGroup {
    std::u16string_view text;  // the first declaration's text, owned by the page records
    std::string key;           // sort key of keyword order
    std::vector<std::pair<uint32_t, int32_t>> topics;
};

// Declarations are grouped by exact text first (a hash lookup per declaration); only the
// distinct texts are then put in keyword order, by sort keys, one collation per text.
// Distinct texts that keyword order still counts as equal are one keyword, whose topics
// keep the order of declaration.
std::vector<KeywordGroup> GroupDeclarations(std::span<const PageRecord> pages,
                                            TopicRegistry& registry, ILog& log) {
    size_t declarations = 0;
    for (const PageRecord& page : pages) declarations += page.meta.keywords.size();
    std::vector<KeywordGroup> groups;
    groups.reserve(declarations);
    std::unordered_map<std::u16string_view, size_t, std::hash<std::u16string_view>,
                       platform::SameCodeUnitsEqual>
        byText;
    byText.reserve(declarations);
    uint32_t declaration = 0;
    for (size_t page = 0; page < pages.size(); ++page) {
        for (const KeywordEntry& entry : pages[page].meta.keywords) {
            if (entry.text.empty()) {
                log.WriteFormat("Empty keyword at %S", pages[page].file.path);
                continue;
            }
            const auto [it, added] = byText.try_emplace(entry.text, groups.size());
            if (added) groups.push_back({entry.text, {}, {}});
            const int32_t topic = registry.GetTopicIndex(static_cast<int32_t>(page), entry.anchor);
            groups[it->second].topics.emplace_back(declaration++, topic);
        }
    }
    return groups;
}

void MergeInto(KeywordGroup& into, KeywordGroup& from) {
    std::vector<std::pair<uint32_t, int32_t>> merged;
    merged.reserve(into.topics.size() + from.topics.size());
    std::merge(into.topics.begin(), into.topics.end(), from.topics.begin(), from.topics.end(),
               std::back_inserter(merged));
    into.topics = std::move(merged);
}

}  // namespace

int CompareKeywords(std::u16string_view a, std::u16string_view b) {
    const int c = platform::CompareTextNoCase(a, b);
    return c != 0 ? c : platform::CompareText(a, b);
}

std::string KeywordSortKey(std::u16string_view text) {
    // Sort keys hold no zero byte, so the separator keeps the case-insensitive key in front.
    // One collation gives both keys: the case-insensitive one is the front of the other.
    const std::string caseKey = platform::SortKey(text);
    const std::string_view noCaseKey = platform::NoCaseSortKeyOf(caseKey);
    std::string key;
    key.reserve(noCaseKey.size() + 1 + caseKey.size());
    key.append(noCaseKey).push_back('\0');
    key += caseKey;
    return key;
}

void RegisterKeywords(Model_original_impl_& model, std::span<const PageRecord> pages,
                      TopicRegistry& registry, ILog& log) {
    std::vector<KeywordGroup> groups = GroupDeclarations(pages, registry, log);
    std::vector<KeywordGroup*> order;
    order.reserve(groups.size());
    for (KeywordGroup& g : groups) {
        g.key = KeywordSortKey(g.text);
        order.push_back(&g);
    }
    std::sort(order.begin(), order.end(),
              [](const KeywordGroup* a, const KeywordGroup* b) { return a->key < b->key; });

    if (!model.keywords) model.keywords = std::make_unique<KeywordList_impl_>(&model);
    std::vector<Keyword_impl_>& items = model.keywords->items;
    items.clear();
    items.reserve(order.size());
    std::vector<int32_t> topics;
    for (size_t i = 0; i < order.size();) {
        size_t next = i + 1;
        for (; next < order.size() && order[next]->key == order[i]->key; ++next)
            MergeInto(*order[i], *order[next]);
        topics.clear();
        for (const auto& [declaration, topic] : order[i]->topics) topics.push_back(topic);
        Keyword_impl_& keyword = items.emplace_back();
        keyword.text = model.pool.CopyString(order[i]->text);
        keyword.topics = IndexList::From(model.pool, topics);
        i = next;
    }
}

void ComputeKeywordDomains(Model_original_impl_& model) {
    if (!model.keywords) return;
    std::vector<int32_t> domains;
    for (Keyword_impl_& keyword : model.keywords->items) {
        domains.clear();
        const int32_t n = keyword.topics.Count();
        for (int32_t i = 0; i < n; ++i) {
            const int32_t t = keyword.topics.Item(i);
            if (t < 0 || static_cast<size_t>(t) >= model.topics.size()) continue;
            const int32_t p = model.topics[static_cast<size_t>(t)].pageIndex;
            if (p < 0 || static_cast<size_t>(p) >= model.pages.size()) continue;
            const IndexList& pageDomains = model.pages[static_cast<size_t>(p)].domains;
            for (int32_t d = 0; d < pageDomains.Count(); ++d) {
                const int32_t domain = pageDomains.Item(d);
                if (std::find(domains.begin(), domains.end(), domain) == domains.end())
                    domains.push_back(domain);
            }
        }
        keyword.domains = IndexList::From(model.pool, domains);
    }
}

void SortKeywords(Model_original_impl_& model) {
    if (!model.keywords) return;
    std::vector<Keyword_impl_>& items = model.keywords->items;
    const auto less = [](const Keyword_impl_& a, const Keyword_impl_& b) {
        return CompareKeywords(StringView(a.text), StringView(b.text)) < 0;
    };
    // The registration already leaves the list in order; checking costs one pass.
    if (!std::is_sorted(items.begin(), items.end(), less))
        std::stable_sort(items.begin(), items.end(), less);
}

}  // namespace kestrova
