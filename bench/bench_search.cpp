// Search latency through the search thread, as the viewer searches: a registry of model
// environments, a client that subscribes, waits for the model, posts each search and waits for
// its result (ModelEnvClient). For each generated knowledge base: the model is loaded and both
// indexes are made current first (that time is printed apart), then one- and two-word queries
// drawn from the generator's vocabulary run with related words and precisely, and titles-only,
// each query a different one; p50, p95 and the largest time per kind, the mean number of hits,
// and the resident memory during the searches.
//
//   bench_search [--sizes 2500,50000] [--page-kb 10] [--runs 300] [--seed 1] [--dir DIR]
//
// Without --dir everything goes to a temporary folder that is removed at the end.
#include "bench/bench_support.h"
#include "bench/kb_generator.h"
#include "bench/kb_vocabulary.h"
#include "exec/workers/model_env_client.h"
#include "exec/workers/model_load_fn.h"
#include "platform/codepage.h"
#include "platform/path.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

using namespace kestrova;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct Options : bench::KbRunOptions {
    Options() { sizes = {2500, 50000}; }
    int32_t runs = 300;
};

double Ms(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

enum class QueryKind { kOneWord, kFrequentWord, kTwoWords };

// `count` queries: one word form of the texts (any, or one of the ten most frequent nouns, found
// on most pages), or two words (an adjective and a noun, drawn as the texts draw them).
// Different seeds give different queries.
std::vector<std::u16string> Queries(uint64_t seed, int32_t count, QueryKind kind) {
    if (kind == QueryKind::kTwoWords)
        return bench::GeneratedPhrases(seed, static_cast<size_t>(count));
    const std::vector<std::u16string> forms =
        kind == QueryKind::kOneWord ? bench::AllWordForms() : bench::FrequentNounForms(10);
    bench::KbRandom random(seed);
    std::vector<std::u16string> queries;
    for (int32_t i = 0; i < count; ++i)
        queries.push_back(forms[random.Below(static_cast<uint32_t>(forms.size()))]);
    return queries;
}

struct Latency {
    std::vector<double> ms;
    int64_t hits = 0;
    int32_t failed = 0;

    // REQUIRES: ms sorted.
    double Percentile(double p) const {
        const size_t at = static_cast<size_t>(p * static_cast<double>(ms.size() - 1) + 0.5);
        return ms[at];
    }
};

Latency Run(ModelEnvClient& client, const CountedPtr<IModel>& model,
            const std::vector<std::u16string>& queries, uint32_t options) {
    Latency l;
    for (const std::u16string& q : queries) {
        const Clock::time_point start = Clock::now();
        CountedPtr<ITopicSet> result = client.Search(model, q, options);
        l.ms.push_back(Ms(start));
        if (result)
            l.hits += result->GetCount();
        else
            ++l.failed;
    }
    return l;
}

void Print(const char* what, Latency l, const char* target) {
    std::sort(l.ms.begin(), l.ms.end());
    const double n = static_cast<double>(l.ms.size());
    std::printf(
        "  %-26s %4zu runs  p50 %7.2f ms  p95 %7.2f ms  max %7.2f ms  %8.1f hits/query%s  %s\n",
        what, l.ms.size(), l.Percentile(0.5), l.Percentile(0.95), l.ms.back(),
        static_cast<double>(l.hits) / n, l.failed ? "  SOME FAILED" : "", target);
}

void RunSize(const Options& o, const fs::path& work, int32_t pages) {
    const fs::path kb = work / ("kb-" + std::to_string(pages));
    const bench::KbSummary summary = bench::GenerateKnowledgeBase(kb, {pages, o.pageKb, o.seed});
    std::printf("\n%d pages, %.1f MB of HTML\n", pages, static_cast<double>(summary.bytes) / 1e6);
    bench::WarmFileCache(kb);
    ModelEnvRegistry registry(LoadModelFromDisk);
    ModelEnvClient client(registry, platform::NormalizePath(platform::PathFromNative(kb.string())));
    client.SetTick(std::chrono::milliseconds(20));
    Clock::time_point start = Clock::now();
    const CountedPtr<IModel> model = client.WaitForModel();
    if (!model) {
        std::printf("  no model\n");
        return;
    }
    std::printf("  model loaded in %.0f ms\n", Ms(start));
    start = Clock::now();
    // The first search waits for the index builds that the load queued.
    client.Search(model, u"налог", kSearchRelatedWords);
    client.Search(model, u"налог", 0);
    std::printf("  indexes current after %.1f s (both kinds built through the search thread)\n",
                Ms(start) / 1000);
    std::printf("  resident memory before the searches: %.1f MB\n", bench::ResidentMb());

    const bool small = pages <= 5000;
    const char* fullTarget = small ? "(target p50 <= 5, p95 <= 20)" : "(target p50 <= 20)";
    const int32_t runs = o.runs;
    bench::PeakRss peak;
    for (const uint32_t related : {kSearchRelatedWords, 0u}) {
        const char* mode = related ? "related" : "precise";
        const uint64_t seed = o.seed + (related ? 10 : 20);
        Print((std::string(mode) + ", one word").c_str(),
              Run(client, model, Queries(seed, runs, QueryKind::kOneWord), related), fullTarget);
        Print((std::string(mode) + ", frequent word").c_str(),
              Run(client, model, Queries(seed + 1, runs, QueryKind::kFrequentWord), related),
              fullTarget);
        Print((std::string(mode) + ", two words").c_str(),
              Run(client, model, Queries(seed + 2, runs, QueryKind::kTwoWords), related),
              fullTarget);
    }
    // The first titles-only searches of a model split its titles (and, with related words, look
    // up their dictionary forms) once; the runs below measure the searches after that.
    for (const uint32_t related : {0u, kSearchRelatedWords}) {
        const Clock::time_point first = Clock::now();
        client.Search(model, u"налог", kSearchTitles | related);
        std::printf("  first titles-only search%s of the model: %.1f ms\n",
                    related ? " with related words" : "", Ms(first));
    }
    const char* titleTarget = small ? "" : "(target <= 30)";
    Print("titles only, exact",
          Run(client, model, Queries(o.seed + 5, runs, QueryKind::kTwoWords), kSearchTitles),
          titleTarget);
    Print("titles only, related words",
          Run(client, model, Queries(o.seed + 6, runs, QueryKind::kTwoWords),
              kSearchTitles | kSearchRelatedWords),
          titleTarget);
    std::printf("  resident memory during the searches: peak %.1f MB, at the end %.1f MB\n",
                peak.Stop(), bench::ResidentMb());
}

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string a = argv[i];
        if (a == "--runs") {
            o.runs = std::atoi(argv[i + 1]);
        } else if (!bench::ParseKbRunOption(a, argv[i + 1], o)) {
            return false;
        }
    }
    return argc % 2 == 1 && !o.sizes.empty() && o.runs >= 2;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bench_search [--sizes N,N,...] [--page-kb K] [--runs R] [--seed S] "
                     "[--dir DIR]\n");
        return 2;
    }
    try {
        bench::BenchFolder work(options.dir);
        std::printf("work folder %s, pages of %d KB, seed %llu\n", work.Path().c_str(),
                    options.pageKb, static_cast<unsigned long long>(options.seed));
        for (const int32_t pages : options.sizes) RunSize(options, work.Path(), pages);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_search: %s\n", e.what());
        return 1;
    }
    return 0;
}
