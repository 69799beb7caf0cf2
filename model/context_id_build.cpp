#include "model/internal/context_id_build.h"

#include "model/internal/topic_registry.h"
#include "model/model_original_impl.h"
#include "model/page/log.h"
#include "platform/text.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace kestrova {
namespace {

struct ContextId {
    std::string key;  // sort key ignoring case: equal keys are the same id
    const std::u16string* id;
    int32_t topic;
};

}  // namespace

void RegisterContextIds(Model_original_impl_& model, std::span<const PageRecord> pages,
                        TopicRegistry& registry, ILog& log) {
    size_t declarations = 0;
    for (const PageRecord& page : pages) declarations += page.meta.helpIds.size();
    std::vector<ContextId> ids;
    ids.reserve(declarations);
    std::unordered_map<std::string_view, size_t> known;  // key (held by ids) -> position in ids
    known.reserve(declarations);
    for (size_t page = 0; page < pages.size(); ++page) {
        const char16_t* path = pages[page].file.path;
        for (const HelpIdEntry& entry : pages[page].meta.helpIds) {
            if (entry.id.empty()) {
                log.WriteFormat("Empty context id at %S", path);
                continue;
            }
            std::string key = platform::SortKeyNoCase(entry.id);
            if (known.contains(key)) {
                log.WriteFormat("Duplicate context id \"%S\" at %S", entry.id.c_str(), path);
                continue;
            }
            // `ids` never grows past its reserved size, so the key's bytes stay where they are.
            ids.push_back({std::move(key), &entry.id,
                           registry.GetTopicIndex(static_cast<int32_t>(page), entry.anchor)});
            known.emplace(ids.back().key, ids.size() - 1);
        }
    }
    // Sorting pointers moves no keys; the keys are distinct, so the order is the same.
    std::vector<const ContextId*> order;
    order.reserve(ids.size());
    for (const ContextId& id : ids) order.push_back(&id);
    std::sort(order.begin(), order.end(),
              [](const ContextId* a, const ContextId* b) { return a->key < b->key; });
    model.contextIds.clear();
    model.contextIds.reserve(order.size());
    for (const ContextId* id : order)
        model.contextIds.push_back({model.pool.CopyString(*id->id), id->topic});
}

}  // namespace kestrova
