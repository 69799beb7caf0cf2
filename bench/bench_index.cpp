// Full-text index build speed, for generated knowledge bases of several sizes, each measured in
// one run against two baselines over the same folder and warm file cache:
//   - a plain CLucene index of the same page texts (the same text extraction, the library's
//     StandardAnalyzer, addDocument, optimize);
//   - Recoll's recollindex with a private configuration (skipped with a line when absent).
// The two kinds (lemmatizing, precise) are built through the project's own index builder on
// the model's page list. Prints pages/s, MB/s of HTML, index sizes, peak resident memory
// during each build and the ratios against the targets (each kind within 2x of the plain
// index; both kinds together faster than recollindex).
//
//   bench_index [--sizes 2500,10000,50000] [--page-kb 10] [--seed 1] [--dir DIR] [--no-recoll]
//               [--recoll-max 10000]
//
// Without --dir everything (pages, data folders, indexes) goes to a temporary folder that is
// removed at the end.
#include "bench/bench_support.h"
#include "bench/kb_generator.h"
#include "exec/exec_control.h"
#include "model/internal/page_list_files.h"
#include "model/model_loader.h"
#include "model/model_original_impl.h"
#include "platform/codepage.h"
#include "platform/path.h"
#include "search/index_builder.h"
#include "search/text_extractor.h"

#include <CLucene.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace kestrova;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;
using bench::FolderBytes;
using bench::PeakRss;
using bench::WarmFileCache;

struct Options : bench::KbRunOptions {
    Options() { sizes = {2500, 10000, 50000}; }
    bool recoll = true;
    int32_t recollMax = 10000;  // recollindex needs minutes above this; --recoll-max raises it
};

struct Figure {
    double seconds = 0;
    int64_t indexBytes = 0;
    double peakMb = 0;
    double startMb = 0;  // resident memory when the build began (0 for another process)
    bool ok = true;
};

// The field flags of the project's index, so both indexes store the same.
constexpr int kStoredTokenized = static_cast<int>(lucene::document::Field::STORE_YES) |
                                 static_cast<int>(lucene::document::Field::INDEX_TOKENIZED);
constexpr int kStoredOnly = static_cast<int>(lucene::document::Field::STORE_YES) |
                            static_cast<int>(lucene::document::Field::INDEX_NO);

double Seconds(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The baseline: the project's text extraction, then the library's own analyzer and writer.
Figure PlainClucene(IIndexFiles& files, const fs::path& indexDir) {
    Figure f;
    f.startMb = bench::ResidentMb();
    PeakRss peak;
    const Clock::time_point start = Clock::now();
    {
        TextExtractor extractor;
        extractor.SetTitleWeight(7);
        lucene::analysis::standard::StandardAnalyzer analyzer;
        lucene::index::IndexWriter writer(indexDir.c_str(), &analyzer, true);
        writer.setMaxFieldLength(INT32_MAX);  // as the project's builder: no text is cut
        using lucene::document::Field;
        for (int32_t i = 0; i < files.GetCount(); ++i) {
            extractor.Extract(platform::NativePath(files.GetFullPath(i)));
            const std::wstring relPath = platform::Utf16ToWide(files.GetName(i));
            lucene::document::Document doc;
            doc.add(*_CLNEW Field(L"text", extractor.GetText(), kStoredTokenized));
            doc.add(*_CLNEW Field(L"relPath", relPath.c_str(), kStoredOnly));
            writer.addDocument(&doc);
        }
        writer.optimize();
        writer.close();
    }
    f.seconds = Seconds(start);
    f.peakMb = peak.Stop();
    f.indexBytes = FolderBytes(indexDir);
    return f;
}

Figure ProjectIndex(Model_original_impl_& model, IndexKind kind) {
    Figure f;
    PageListFiles files(model);
    NullExecControl control;
    f.startMb = bench::ResidentMb();
    PeakRss peak;
    const Clock::time_point start = Clock::now();
    f.ok = IndexBuilder(model.DataFolder(), kind).Build(files, model.uid, control) ==
           IndexBuildResult::kBuilt;
    f.seconds = Seconds(start);
    f.peakMb = peak.Stop();
    f.indexBytes = FolderBytes(MakeIndexPaths(model.DataFolder(), kind).liveDir);
    return f;
}

bool HaveRecoll() { return std::system("command -v recollindex >/dev/null 2>&1") == 0; }

// recollindex -c CONF -z on the folder, with its own configuration and index in CONF; its peak
// memory comes from the child's resource usage.
Figure Recoll(const fs::path& pages, const fs::path& conf) {
    Figure f;
    fs::create_directories(conf);
    std::ofstream(conf / "recoll.conf") << "topdirs = " << pages.string() << "\n"
                                        << "skippedNames = .kestrova-genkb\n";
    const Clock::time_point start = Clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int log =
            ::open((conf / "recollindex.log").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (log >= 0) {
            ::dup2(log, 1);
            ::dup2(log, 2);
        }
        ::execlp("recollindex", "recollindex", "-c", conf.c_str(), "-z",
                 static_cast<char*>(nullptr));
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    f.ok = pid > 0 && ::wait4(pid, &status, 0, &usage) == pid && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
    f.seconds = Seconds(start);
    f.peakMb = static_cast<double>(usage.ru_maxrss) / 1024;
    f.indexBytes = FolderBytes(conf / "xapiandb");
    return f;
}

void Print(const char* what, const Figure& f, int32_t pages, double htmlMb) {
    char rise[32] = "";
    if (f.startMb > 0) std::snprintf(rise, sizeof rise, " (+%.1f)", f.peakMb - f.startMb);
    std::printf("  %-26s %7.2f s %6.0f pages/s %6.2f MB/s  index %6.1f MB  peak RSS %6.1f MB%s%s\n",
                what, f.seconds, pages / f.seconds, htmlMb / f.seconds,
                static_cast<double>(f.indexBytes) / 1e6, f.peakMb, rise, f.ok ? "" : "  FAILED");
}

CountedPtr<IModel> Load(const fs::path& pages) {
    return LoadModelOnce(platform::NormalizePath(platform::PathFromNative(pages.string())), true)
        .model;
}

void RunSize(const Options& options, const fs::path& work, int32_t pages, bool recoll) {
    const fs::path kb = work / ("kb-" + std::to_string(pages));
    Clock::time_point start = Clock::now();
    const bench::KbSummary summary =
        bench::GenerateKnowledgeBase(kb, {pages, options.pageKb, options.seed});
    const double htmlMb = static_cast<double>(summary.bytes) / 1e6;
    std::printf("\n%d pages, %.1f MB of HTML (generated in %.1f s)\n", pages, htmlMb,
                Seconds(start));
    CountedPtr<IModel> model = Load(kb);
    if (!model) {
        std::printf("  the model could not be loaded\n");
        return;
    }
    auto& m = static_cast<Model_original_impl_&>(*model);
    WarmFileCache(kb);
    std::printf("  resident memory with the model loaded: %.1f MB\n", bench::ResidentMb());

    PageListFiles files(m);
    const Figure plain = PlainClucene(files, work / ("plain-" + std::to_string(pages)));
    Print("plain CLucene (baseline)", plain, pages, htmlMb);
    const Figure lem = ProjectIndex(m, kIndexLemmatizing);
    Print("lemmatizing index (_lem)", lem, pages, htmlMb);
    const Figure prec = ProjectIndex(m, kIndexPrecise);
    Print("precise index (_prec)", prec, pages, htmlMb);
    std::printf("  ratio _lem / baseline  %5.2f  (target <= 2)\n", lem.seconds / plain.seconds);
    std::printf("  ratio _prec / baseline %5.2f  (target <= 2)\n", prec.seconds / plain.seconds);
    if (!recoll) return;
    if (pages > options.recollMax) {
        std::printf("  recollindex skipped above %d pages (--recoll-max N to include it)\n",
                    options.recollMax);
        return;
    }
    const Figure rc = Recoll(kb, work / ("recoll-" + std::to_string(pages)));
    Print("recollindex", rc, pages, htmlMb);
    std::printf("  ratio (_lem + _prec) / recollindex %5.2f  (target < 1)\n",
                (lem.seconds + prec.seconds) / rc.seconds);
}

bool ParseArgs(int argc, char** argv, Options& o) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        if (a == "--no-recoll") {
            o.recoll = false;
        } else if (a == "--recoll-max" && value) {
            o.recollMax = std::atoi(argv[++i]);
        } else if (bench::ParseKbRunOption(a, value, o)) {
            ++i;
        } else {
            return false;
        }
    }
    return !o.sizes.empty();
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArgs(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: bench_index [--sizes N,N,...] [--page-kb K] [--seed S] [--dir DIR] "
                     "[--no-recoll] [--recoll-max N]\n");
        return 2;
    }
    try {
        bench::BenchFolder work(options.dir);
        const bool recoll = options.recoll && HaveRecoll();
        if (options.recoll && !recoll)
            std::printf("recollindex is not installed: its comparison is skipped\n");
        std::printf("work folder %s, pages of %d KB, seed %llu\n", work.Path().c_str(),
                    options.pageKb, static_cast<unsigned long long>(options.seed));
        for (const int32_t pages : options.sizes) RunSize(options, work.Path(), pages, recoll);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_index: %s\n", e.what());
        return 1;
    } catch (CLuceneError& e) {
        std::fprintf(stderr, "bench_index: index library error: %s\n", e.what());
        return 1;
    }
    return 0;
}
