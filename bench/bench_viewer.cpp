// The viewer's speed and memory, measured on the real window (run it under Xvfb):
//
//   xvfb-run -a -s "-screen 0 1600x1000x24" build/release/bench/bench_viewer
//       [--sizes 2500,50000] [--page-kb 4] [--runs 5] [--seed 1] [--dir DIR]
//
// For each generated knowledge base (warm file cache, cached model):
// - start: a new viewer process until its model is shown (contents roots and categories
//   filled), against the floor: a bare program that shows one local page in a QWebEngineView,
//   until that page has loaded; the median of --runs processes each, timed from the start of
//   the process to its report;
// - search: Enter in the search box until the result list is filled, against the core's own
//   search of the same query on the same model (IModel::FindTopics);
// - category change: choosing a category until the panes are filled again with their state;
// - memory: the viewer process with one and with three windows, and Qt WebEngine's processes.
// And on a knowledge base made for the purpose (10,000 pages in one chapter, 300,000
// keywords): expanding the chapter's node, and one letter typed into the index box until the
// keyword is selected.
//
// Without --dir everything goes to a temporary folder that is removed at the end.
#include "bench/bench_support.h"
#include "bench/child_process.h"
#include "bench/kb_generator.h"
#include "bench/kb_vocabulary.h"
#include "bench/large_lists_kb.h"
#include "bench/viewer_probe.h"

#include <QString>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace kestrova;
namespace fs = std::filesystem;

struct Options : bench::KbRunOptions {
    Options() {
        sizes = {2500, 50000};
        pageKb = 4;
    }
    int32_t runs = 5;
};

bool ParseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        long long n = 0;
        if (option == "--runs") {
            if (!value || !bench::ParseNumber(value, 1, 100, n)) return false;
            options.runs = static_cast<int32_t>(n);
        } else if (!bench::ParseKbRunOption(option, value, options)) {
            return false;
        }
        ++i;
    }
    return true;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

// The median time of `runs` processes of this program in `mode` on `arg`.
// The lines the last one printed before its report go to `output`.
double MedianProcessMs(const char* self, const char* mode, const std::string& arg, int runs,
                       std::vector<std::string>* output = nullptr) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        if (output) output->clear();
        const double ms = bench::TimeChildUntilReady(self, {mode, arg}, output);
        if (ms < 0) {
            std::fprintf(stderr, "bench_viewer: %s %s did not report\n", mode, arg.c_str());
            return -1;
        }
        times.push_back(ms);
    }
    return Median(times);
}

void PrintStart(const char* self, const fs::path& kb, int runs) {
    const std::string page = bench::AnyPage(kb);
    std::vector<std::string> floorLines;
    const double floor = MedianProcessMs(self, "--floor-child", page, runs, &floorLines);
    const double viewer = MedianProcessMs(self, "--start-child", kb.string(), runs);
    std::printf(
        "  start to model shown: %.0f ms; floor (one page in a bare QWebEngineView): %.0f "
        "ms; ratio %.2fx (target 1.3x)\n",
        viewer, floor, floor > 0 ? viewer / floor : 0);
    for (const std::string& line : floorLines) std::printf("%s\n", line.c_str());
}

void RunSize(const char* self, const Options& options, const fs::path& root, int32_t pages) {
    const fs::path kb = root / ("kb" + std::to_string(pages));
    bench::KbOptions kbOptions;
    kbOptions.pages = pages;
    kbOptions.pageKb = options.pageKb;
    kbOptions.seed = options.seed;
    const bench::KbSummary summary = bench::GenerateKnowledgeBase(kb, kbOptions);
    std::printf("%d pages, %.1f MB of HTML\n", summary.pages,
                static_cast<double>(summary.bytes) / 1e6);
    std::fflush(stdout);
    bench::WarmFileCache(kb);
    // The first viewer on the folder builds and caches the model and both indexes.
    bench::RunChild(self, {"--prepare-child", kb.string()});
    PrintStart(self, kb, options.runs);
    std::fflush(stdout);
    bench::RunChild(self, {"--window-child", kb.string()});
    std::fflush(stdout);
}

int Parent(int argc, char** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bench_viewer [--sizes 2500,50000] [--page-kb 4] [--runs 5] "
                     "[--seed 1] [--dir DIR]\n");
        return 2;
    }
    bench::BenchFolder folder(options.dir);
    for (const int32_t pages : options.sizes) RunSize(argv[0], options, folder.Path(), pages);
    const fs::path stress = folder.Path() / "kb-large-lists";
    bench::WriteLargeListsKb(stress);
    std::printf("10,000 pages in one chapter, 300,000 keywords\n");
    std::fflush(stdout);
    bench::RunChild(argv[0], {"--prepare-child", stress.string()});
    bench::RunChild(argv[0], {"--lists-child", stress.string()});
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strncmp(argv[1], "--", 2) == 0 &&
        std::strstr(argv[1], "-child") != nullptr) {
        return bench::RunViewerProbe(argc, argv, argv[1], QString::fromLocal8Bit(argv[2]));
    }
    return Parent(argc, argv);
}
