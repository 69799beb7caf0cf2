#include "bench/bench_support.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include <unistd.h>

namespace kestrova::bench {

namespace fs = std::filesystem;

BenchFolder::BenchFolder(const std::string& dir) : temporary_(dir.empty()) {
    if (temporary_) {
        std::string pattern = (fs::temp_directory_path() / "kestrova-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data()))
            throw std::runtime_error(pattern + ": cannot create a temporary folder");
        path_ = pattern;
    } else {
        path_ = fs::absolute(dir);
        fs::create_directories(path_);
    }
    fs::create_directories(path_ / "data");
    fs::create_directories(path_ / "config");
    ::setenv("XDG_DATA_HOME", (path_ / "data").c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", (path_ / "config").c_str(), 1);
}

BenchFolder::~BenchFolder() {
    if (!temporary_) return;
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

double ResidentMb() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0, resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) /
           (1024.0 * 1024.0);
}

PeakRss::PeakRss() : peak_(ResidentMb()) {
    sampler_ = std::thread([this] {
        while (!stop_.load()) {
            const double now = ResidentMb();
            if (now > peak_.load()) peak_.store(now);
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
}

PeakRss::~PeakRss() { Stop(); }

double PeakRss::Stop() {
    stop_.store(true);
    if (sampler_.joinable()) sampler_.join();
    const double now = ResidentMb();
    if (now > peak_.load()) peak_.store(now);
    return peak_.load();
}

bool ParseNumber(const char* text, long long min, long long max, long long& value) {
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && errno == 0 && value >= min && value <= max;
}

bool ParseSizes(const std::string& text, std::vector<int32_t>& sizes) {
    sizes.clear();
    std::stringstream list(text);
    for (std::string item; std::getline(list, item, ',');) {
        long long n = 0;
        if (!ParseNumber(item.c_str(), 1, kMostPages, n)) return false;
        sizes.push_back(static_cast<int32_t>(n));
    }
    return !sizes.empty();
}

bool ParseKbRunOption(const std::string& option, const char* value, KbRunOptions& options) {
    if (!value) return false;
    if (option == "--sizes") return ParseSizes(value, options.sizes);
    long long number = 0;
    if (option == "--page-kb") {
        if (!ParseNumber(value, 1, kLargestPageKb, number)) return false;
        options.pageKb = static_cast<int32_t>(number);
        return true;
    }
    if (option == "--seed") {
        if (!ParseNumber(value, 0, LLONG_MAX, number)) return false;
        options.seed = static_cast<uint64_t>(number);
        return true;
    }
    if (option == "--dir") {
        options.dir = value;
        return true;
    }
    return false;
}

int64_t FolderBytes(const fs::path& dir) {
    std::error_code error;
    int64_t total = 0;
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
         it.increment(error)) {
        if (it->is_regular_file(error)) total += static_cast<int64_t>(it->file_size(error));
    }
    return total;
}

void WarmFileCache(const fs::path& dir) {
    std::error_code error;
    char buffer[1 << 16];
    for (fs::recursive_directory_iterator it(dir, error), end; !error && it != end;
         it.increment(error)) {
        if (!it->is_regular_file(error)) continue;
        std::ifstream in(it->path(), std::ios::binary);
        while (in.read(buffer, sizeof buffer)) {
        }
    }
}

}  // namespace kestrova::bench
