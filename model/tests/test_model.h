// Models built by hand from page records, the way the loader builds them, for the tests.
#pragma once

#include "model/internal/content_build.h"
#include "model/internal/context_id_build.h"
#include "model/internal/keyword_build.h"
#include "model/internal/page_record.h"
#include "model/internal/topic_registry.h"
#include "model/model_original_impl.h"
#include "model/page/log.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace kestrova::test {

// Keeps the lines written to it.
class MemoryLog final : public ILog {
public:
    void Write(std::u16string_view text) override { lines.emplace_back(text.begin(), text.end()); }
    void WriteText(std::string_view bytes) override { lines.emplace_back(bytes); }
    std::vector<std::string> lines;
};

inline std::u16string ScratchFolder(const char* name) {
    const std::filesystem::path dir = testing::ScratchRoot() / name;
    std::filesystem::create_directories(dir);
    return platform::PathFromNative(dir.string());
}

// A page record of the path with its meta; the path is copied into the model's pool.
struct TestPage {
    std::u16string path;
    PageMeta meta;
};

inline DomainEntry Domain(std::u16string tag, int32_t chapterIndex = -1) {
    DomainEntry d;
    d.tag = std::move(tag);
    d.chapterIndex = chapterIndex;
    return d;
}

inline ContentEntry Entry(std::u16string text, int32_t order = 0, std::u16string anchor = {},
                          bool index = false) {
    return ContentEntry{std::move(text), std::move(anchor), order, index};
}

inline std::vector<ChapterStep> Steps(std::initializer_list<std::u16string> names) {
    std::vector<ChapterStep> steps;
    for (const auto& n : names) steps.push_back({n, 0, false});
    return steps;
}

// Builds the navigation of a model from the pages, in the loader's order, with the domains
// given (in their final order).
inline CountedPtr<Model_original_impl_> BuildModel(const std::vector<TestPage>& testPages,
                                                   const std::vector<std::u16string>& domainTags,
                                                   ILog& log) {
    auto model = CountedPtr<Model_original_impl_>::Adopt(
        new Model_original_impl_(u"/kb/test", ScratchFolder("model-build-data")));
    Model_original_impl_& m = *model;
    for (const auto& tag : domainTags) {
        Domain_impl_& d = m.domains.emplace_back();
        d.tag = m.pool.CopyString(tag);
        d.displayName = d.tag;
    }
    std::vector<PageRecord> records;
    for (const TestPage& testPage : testPages) {
        PageRecord& r = records.emplace_back();
        r.file.path = m.pool.CopyString(testPage.path);
        r.meta = testPage.meta;
        PageInfo_impl_& page = m.pages.emplace_back();
        page.file = r.file;
        page.title = m.pool.CopyStringOrNull(testPage.meta.title);
    }
    TopicRegistry registry(m);
    RegisterKeywords(m, records, registry, log);
    RegisterContextIds(m, records, registry, log);
    BuildContent(m, records, registry, log);
    AssignPageLocations(m);
    ComputeKeywordDomains(m);
    SortKeywords(m);
    return model;
}

}  // namespace kestrova::test
