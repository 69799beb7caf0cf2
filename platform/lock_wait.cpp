#include "platform/lock_wait.h"

#include <sys/stat.h>
#include <sys/sysmacros.h>

#include <algorithm>
#include <cinttypes>
#include <cstdio>
#include <fstream>
#include <mutex>
#include <sstream>

namespace kestrova::platform {
namespace {

std::mutex& LimitsLock() {
    static std::mutex lock;
    return lock;
}

LockWaitLimits& Limits() {
    static LockWaitLimits* limits = new LockWaitLimits;  // never destroyed: threads may outlive
    return *limits;
}

struct FileId {
    unsigned major;
    unsigned minor;
    unsigned long long inode;
    bool operator==(const FileId&) const = default;
};

// A line of /proc/locks: "1: FLOCK  ADVISORY  WRITE 1234 08:01:56789 0 EOF". Waiters are marked
// "->" after the number and hold nothing.
bool ParseLockLine(const std::string& line, long& pid, FileId& id) {
    std::istringstream in(line);
    std::string number, kind, mode, access, device;
    if (!(in >> number >> kind) || kind == "->") return false;
    if (!(in >> mode >> access >> pid >> device)) return false;
    return std::sscanf(device.c_str(), "%x:%x:%llu", &id.major, &id.minor, &id.inode) == 3;
}

}  // namespace

void SetLockWaitLimits(LockWaitLimits limits) {
    std::lock_guard lock(LimitsLock());
    Limits() = std::move(limits);
}

std::vector<long> LockHolders(const std::vector<std::string>& lockFiles) {
    std::vector<FileId> ids;
    for (const std::string& file : lockFiles) {
        struct stat st {};
        if (::stat(file.c_str(), &st) == 0)
            ids.push_back({::major(st.st_dev), ::minor(st.st_dev), st.st_ino});
    }
    std::vector<long> holders;
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        long pid = 0;
        FileId id{};
        if (!ParseLockLine(line, pid, id) || pid <= 0) continue;
        if (std::find(ids.begin(), ids.end(), id) != ids.end()) holders.push_back(pid);
    }
    std::sort(holders.begin(), holders.end());
    holders.erase(std::unique(holders.begin(), holders.end()), holders.end());
    return holders;
}

LockWait::LockWait(std::string what, std::vector<std::string> lockFiles)
    : what_(std::move(what)), lockFiles_(std::move(lockFiles)) {
    {
        std::lock_guard lock(LimitsLock());
        limits_ = Limits();
    }
    start_ = std::chrono::steady_clock::now();
}

bool LockWait::KeepWaiting() {
    const auto waited = std::chrono::steady_clock::now() - start_;
    if (!reported_ && limits_.report && limits_.reportAfter.count() > 0 &&
        waited >= limits_.reportAfter) {
        reported_ = true;
        limits_.report("waiting for " + what_ + HolderText());
    }
    return limits_.giveUpAfter.count() <= 0 || waited < limits_.giveUpAfter;
}

std::string LockWait::GiveUpMessage() const {
    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(limits_.giveUpAfter).count();
    return "gave up waiting for " + what_ + " after " + std::to_string(seconds) + " s" +
           HolderText();
}

std::string LockWait::HolderText() const {
    const std::vector<long> holders = LockHolders(lockFiles_);
    if (holders.empty()) return {};
    std::string text = holders.size() == 1 ? " (held by process " : " (held by processes ";
    for (size_t i = 0; i < holders.size(); ++i)
        text += (i ? ", " : "") + std::to_string(holders[i]);
    return text + ")";
}

}  // namespace kestrova::platform
