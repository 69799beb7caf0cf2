// Time of the navigation build of a model (topics, keywords, context ids, contents, page
// locations, keyword domains) from page records made in memory, so that no file is read.
//
//   bench_model_build [PAGES]
//
// Two shapes: every page in one chapter (2,500 to 40,000 children, to show the build stays
// linear in the number of siblings), and PAGES pages (default 50,000) in chapters three to
// five levels deep with keywords (20,000 distinct), help ids and domains. Figures are
// processor time in milliseconds.
#include "model/content_original_impl.h"
#include "model/internal/content_build.h"
#include "model/internal/context_id_build.h"
#include "model/internal/keyword_build.h"
#include "model/internal/topic_registry.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"
#include "model/page/log.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace kestrova;

class CountingLog final : public ILog {
public:
    void Write(std::u16string_view) override { ++lines; }
    void WriteText(std::string_view) override { ++lines; }
    int lines = 0;
};

std::u16string U16(const std::string& s) { return std::u16string(s.begin(), s.end()); }

std::u16string Word(uint32_t n) {
    static const char16_t* const kWords[] = {u"закон", u"договор", u"налог", u"Сбор",
                                             u"право", u"статья",  u"Глава", u"порядок",
                                             u"учёт",  u"отпуск",  u"суд",   u"Орган"};
    return std::u16string(kWords[n % 12]) + U16(std::to_string(n / 12));
}

std::vector<PageRecord> OneChapter(Model_original_impl_& m, int pages) {
    std::vector<PageRecord> records(static_cast<size_t>(pages));
    for (int i = 0; i < pages; ++i) {
        PageRecord& r = records[static_cast<size_t>(i)];
        r.file.path = m.pool.CopyString(U16("big\\p" + std::to_string(i) + ".html"));
        r.meta.title = u"Страница " + Word(static_cast<uint32_t>(i) * 7919u % 100000u);
        r.meta.chapters.defaultList = {{u"Большая глава", 0, false}};
        r.meta.domains = {{u"law", u"Право", 0, -1}};
    }
    return records;
}

std::vector<PageRecord> DeepTree(Model_original_impl_& m, int pages) {
    std::vector<PageRecord> records(static_cast<size_t>(pages));
    for (int i = 0; i < pages; ++i) {
        const auto n = static_cast<uint32_t>(i);
        PageRecord& r = records[static_cast<size_t>(i)];
        r.file.path = m.pool.CopyString(
            U16("d" + std::to_string(i % 50) + "\\p" + std::to_string(i) + ".html"));
        r.meta.title = u"Страница " + Word(n * 7919u % 200000u);
        const int depth = 3 + i % 3;
        for (int level = 0; level < depth; ++level) {
            const uint32_t branch = (n / (1u << (level * 2))) % (level == 0 ? 5u : 8u);
            r.meta.chapters.defaultList.push_back(
                {u"Раздел " + U16(std::to_string(level) + "." + std::to_string(branch)),
                 int32_t(branch % 3), false});
        }
        r.meta.domains = {{i % 3 == 0 ? u"tech" : u"law", u"", 0, 1}};
        r.meta.contents.defaultList = {{u"", u"", int32_t(n % 4), false}};
        for (uint32_t k = 0; k < 5; ++k)
            r.meta.keywords.push_back({Word((n * 31u + k * 1009u) % 20000u), k == 4 ? u"a" : u""});
        r.meta.helpIds.push_back({u"IDH_" + U16(std::to_string(i)), u""});
    }
    return records;
}

// Processor time of this process: the machine is shared, so wall-clock time says little.
struct CpuClock {
    using time_point = double;
    static double now() {
        timespec ts{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
        return static_cast<double>(ts.tv_sec) * 1e3 + static_cast<double>(ts.tv_nsec) / 1e6;
    }
};

double Ms(double since) { return CpuClock::now() - since; }

void Build(const char* name, std::vector<PageRecord> (*make)(Model_original_impl_&, int),
           int pages) {
    const std::filesystem::path data =
        std::filesystem::temp_directory_path() / "kestrova-bench-build";
    auto model = CountedPtr<Model_original_impl_>::Adopt(
        new Model_original_impl_(u"/kb", U16(data.string())));
    Model_original_impl_& m = *model;
    for (const char16_t* tag : {u"law", u"tech"}) {
        Domain_impl_& d = m.domains.emplace_back();
        d.tag = d.displayName = m.pool.CopyString(tag);
    }
    std::vector<PageRecord> records = make(m, pages);
    for (const PageRecord& r : records) {
        PageInfo_impl_& p = m.pages.emplace_back();
        p.file = r.file;
        p.title = m.pool.CopyString(r.meta.title);
    }
    CountingLog log;
    TopicRegistry registry(m);
    const auto t0 = CpuClock::now();
    RegisterKeywords(m, records, registry, log);
    const double keywords = Ms(t0);
    auto t = CpuClock::now();
    RegisterContextIds(m, records, registry, log);
    const double ids = Ms(t);
    t = CpuClock::now();
    BuildContent(m, records, registry, log);
    const double content = Ms(t);
    t = CpuClock::now();
    AssignPageLocations(m);
    ComputeKeywordDomains(m);
    SortKeywords(m);
    const double rest = Ms(t);
    std::printf(
        "%-12s pages %6d  nodes %6zu  keywords %6d  | keywords %7.1f ms  context ids %7.1f ms  "
        "content %7.1f ms  locations+domains+sort %6.1f ms  total %7.1f ms\n",
        name, pages, m.content->nodes.size(), m.keywords->GetCount(), keywords, ids, content, rest,
        Ms(t0));
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 50000;
    for (int n = 2500; n <= 40000; n *= 2) Build("one-chapter", OneChapter, n);
    for (int n = pages / 4; n <= pages; n *= 2) Build("deep-tree", DeepTree, n);
    return 0;
}
