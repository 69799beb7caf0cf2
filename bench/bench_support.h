// Pieces shared by the index and search benchmarks: a scratch folder that also holds the
// per-user data folders, the resident memory of the process, folder sizes.
#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace kestrova::bench {

// The benchmark's working folder: DIR when given (kept afterwards), else a new temporary folder
// (removed afterwards). XDG_DATA_HOME and XDG_CONFIG_HOME point inside it, so the models,
// caches and indexes of the run never touch the user's own folders.
class BenchFolder {
public:
    explicit BenchFolder(const std::string& dir);
    ~BenchFolder();
    BenchFolder(const BenchFolder&) = delete;
    BenchFolder& operator=(const BenchFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    bool temporary_;
};

// Resident memory of this process now, in MB.
double ResidentMb();

// Samples the resident memory every few milliseconds from construction to Stop.
class PeakRss {
public:
    PeakRss();
    ~PeakRss();
    // Stops sampling; the highest resident memory seen, in MB.
    double Stop();

private:
    std::atomic<bool> stop_{false};
    std::atomic<double> peak_{0};
    std::thread sampler_;
};

// The whole of `text` as a decimal number within [min, max]; false for anything else.
bool ParseNumber(const char* text, long long min, long long max, long long& value);

// Most pages of a generated folder, and largest page in KB.
inline constexpr long long kMostPages = 10'000'000;
inline constexpr long long kLargestPageKb = 100'000;

// A comma-separated list of positive page counts ("2500,10000"); false for anything else.
bool ParseSizes(const std::string& text, std::vector<int32_t>& sizes);

// The options every benchmark over generated folders takes.
struct KbRunOptions {
    std::vector<int32_t> sizes;  // --sizes: page counts, one generated folder each
    int32_t pageKb = 10;         // --page-kb: size of a generated page
    uint64_t seed = 1;           // --seed: of the generator
    std::string dir;             // --dir: the work folder, kept; empty: a temporary one
};

// Takes `option` with its `value` (null when the command line has none) into `options`: false
// when it is not one of the options above or its value is missing or wrong.
bool ParseKbRunOption(const std::string& option, const char* value, KbRunOptions& options);

// Total size of the regular files under `dir`, in bytes (0 when it is missing).
int64_t FolderBytes(const std::filesystem::path& dir);

// Reads every file under `dir` once, so that the measurements start from a warm file cache.
void WarmFileCache(const std::filesystem::path& dir);

}  // namespace kestrova::bench
