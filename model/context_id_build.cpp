#include "model/context_id_build.h"

#include "model/model_original_impl.h"
#include "model/page/log.h"
#include "model/topic_registry.h"
#include "platform/text.h"

#include <map>

namespace kestrova {
namespace {

struct NoCaseLess {
    bool operator()(const std::u16string& a, const std::u16string& b) const {
        return platform::CompareTextNoCase(a, b) < 0;
    }
};

}  // namespace

void RegisterContextIds(Model_original_impl_& model, std::span<const PageRecord> pages, TopicRegistry& registry,
                        ILog& log) {
    std::map<std::u16string, int32_t, NoCaseLess> ids;
    for (size_t page = 0; page < pages.size(); ++page) {
        const char16_t* path = pages[page].file.path;
        for (const HelpIdEntry& entry : pages[page].meta.helpIds) {
            if (entry.id.empty()) {
                log.WriteFormat("Empty context id at %S", path);
                continue;
            }
            const auto it = ids.lower_bound(entry.id);
            if (it != ids.end() && !NoCaseLess()(entry.id, it->first)) {
                log.WriteFormat("Duplicate context id \"%S\" at %S", entry.id.c_str(), path);
                continue;
            }
            ids.emplace_hint(it, entry.id, registry.GetTopicIndex(static_cast<int32_t>(page), entry.anchor));
        }
    }
    model.contextIds.clear();
    model.contextIds.reserve(ids.size());
    for (const auto& [id, topic] : ids) model.contextIds.push_back({model.pool.CopyString(id), topic});
}

}  // namespace kestrova
