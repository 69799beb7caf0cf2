// Figures of model loading on a page folder, all in one run, warm file cache:
//   - the I/O floor: open, read 4 KB, close every HTML file (the median of five walks);
//   - the first build from the pages (scan, meta, navigation, cache save), which also
//     registers the folder in the folder list and starts the collation of this process;
//   - the rebuild of the registered folder, as a reload does (the median of five), against
//     the floor;
//   - the cache load (and its rate in MB/s of preserved.bin);
//   - the outdated test against a plain directory walk with stat;
//   - the XML export; the peak memory of the process.
//
//   bench_load FOLDER            measure an existing page folder
//   bench_load --generate N DIR  write N generated pages of 20 KB into DIR first (then measure it)
#include "bench/bench_support.h"
#include "bench/kb_generator.h"
#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "model/internal/html_scan.h"
#include "model/internal/preserved_cache.h"
#include "model/model_loader.h"
#include "model/model_original_impl.h"
#include "platform/event.h"
#include "platform/path.h"

#include <fcntl.h>
#include <malloc.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using namespace kestrova;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Ms(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double IoFloor(const fs::path& dir, int& files) {
    const Clock::time_point start = Clock::now();
    char buffer[4096];
    files = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file() ||
            !IsHtmlFileName(platform::PathFromNative(e.path().filename().string())))
            continue;
        const int fd = ::open(e.path().c_str(), O_RDONLY);
        if (fd < 0) continue;
        if (::read(fd, buffer, sizeof buffer) < 0) std::perror("read");
        ::close(fd);
        ++files;
    }
    return Ms(start);
}

// Bytes the allocator has handed out and not taken back, in all its arenas, in MB.
double HeapInUseMb() {
    const struct mallinfo2 info = ::mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd) / 1e6;
}

template <typename F>
double MedianMs(int runs, F&& run) {
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) times.push_back(run());
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

double WalkWithStat(const fs::path& dir) {
    const Clock::time_point start = Clock::now();
    size_t total = 0;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        struct ::stat st {};
        if (::stat(e.path().c_str(), &st) == 0) total += static_cast<size_t>(st.st_size);
    }
    if (total == 0) std::puts("(empty folder)");
    return Ms(start);
}

}  // namespace

int main(int argc, char** argv) {
    fs::path dir;
    if (argc == 4 && std::strcmp(argv[1], "--generate") == 0) {
        dir = argv[3];
        bench::KbOptions options;
        options.pages = std::atoi(argv[2]);
        try {
            bench::GenerateKnowledgeBase(dir, options);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "bench_load: %s\n", e.what());
            return 1;
        }
    } else if (argc == 2) {
        dir = argv[1];
    } else {
        std::fprintf(stderr, "usage: bench_load FOLDER | bench_load --generate N DIR\n");
        return 2;
    }
    // The model's cache, log and export go to a temporary data folder, never the user's own.
    bench::BenchFolder data("");
    const std::u16string folder =
        platform::NormalizePath(platform::PathFromNative(fs::absolute(dir).string()));
    platform::ManualResetEvent stop;
    NamedLockSet locks(kLoadLockSet, folder, kLockSetSize, stop);
    NullExecControl control;

    int files = 0;
    // Written data is flushed before each measurement, so that none of them waits for the
    // writeback of the generated pages or of the files the previous step wrote (a truncation
    // of a file still being committed waits for the journal).
    ::sync();
    IoFloor(dir, files);  // warms the file cache
    const double floor = MedianMs(5, [&] { return IoFloor(dir, files); });
    Clock::time_point start = Clock::now();
    LoadResult built = LoadModel(folder, control, locks, true);
    const double firstBuild = Ms(start);
    const double rebuild = MedianMs(5, [&] {
        built.model.Reset();
        ::sync();
        const Clock::time_point began = Clock::now();
        built = LoadModel(folder, control, locks, true);
        return Ms(began);
    });
    auto* m = static_cast<Model_original_impl_*>(built.model.get());
    const double cacheBytes =
        static_cast<double>(fs::file_size(platform::NativePath(m->CachePath())));

    start = Clock::now();
    const std::u16string xml = m->DataFolder() + u"/bench.xml";
    m->ExportXml(xml.c_str());
    const double exportMs = Ms(start);

    // The cache is loaded as a viewer loads it at its start: into a process that holds no other
    // model, so the built one goes first.
    const std::u16string htmlFolder = m->HtmlFolder();
    const std::u16string dataFolder = m->DataFolder();
    built.model.Reset();
    ::malloc_trim(0);
    const double residentBefore = bench::ResidentMb();
    const double heapBefore = HeapInUseMb();
    ::sync();
    start = Clock::now();
    auto restored = MakeCounted<Model_original_impl_>(htmlFolder, dataFolder);
    const bool ok = LoadCache(*restored, control);
    const double load = Ms(start);
    const double residentModel = bench::ResidentMb() - residentBefore;
    const double heapModel = HeapInUseMb() - heapBefore;

    const double walk = WalkWithStat(dir);
    start = Clock::now();
    const bool outdated = restored->IsOutdated(control);
    const double outdatedMs = Ms(start);

    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    std::printf("files %d\n", files);
    std::printf("io floor (open, read 4 KB, close)  %9.1f ms\n", floor);
    std::printf("first build (folder registered)    %9.1f ms  (%.2fx the floor)\n", firstBuild,
                firstBuild / floor);
    std::printf("build from the pages               %9.1f ms  (%.2fx the floor)\n", rebuild,
                rebuild / floor);
    std::printf("cache load                         %9.1f ms  (%.1f MB, %.0f MB/s, %s)\n", load,
                cacheBytes / 1e6, cacheBytes / 1e6 / (load / 1000), ok ? "ok" : "FAILED");
    std::printf("directory walk with stat           %9.1f ms\n", walk);
    std::printf("IsOutdated                         %9.1f ms  (%.2fx the walk, %s)\n", outdatedMs,
                outdatedMs / walk, outdated ? "outdated" : "current");
    std::printf("XML export                         %9.1f ms\n", exportMs);
    std::printf("loaded model (heap in use)         %9.1f MB\n", heapModel);
    std::printf(
        "loaded model (resident growth)     %9.1f MB  (less where the built models' pages are "
        "reused)\n",
        residentModel);
    std::printf("peak memory (max RSS)              %9.1f MB\n",
                static_cast<double>(usage.ru_maxrss) / 1024);
    return ok ? 0 : 1;
}
