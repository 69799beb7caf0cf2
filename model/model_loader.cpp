#include "model/model_loader.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "model/data_folder.h"
#include "model/internal/build_clock.h"
#include "model/internal/content_build.h"
#include "model/internal/context_id_build.h"
#include "model/internal/html_scan.h"
#include "model/internal/keyword_build.h"
#include "model/internal/load_failure.h"
#include "model/internal/model_build.h"
#include "model/internal/preserved_cache.h"
#include "model/internal/topic_registry.h"
#include "model/internal/weight.h"
#include "model/model_original_impl.h"
#include "model/page/file_log.h"
#include "platform/event.h"
#include "platform/path.h"
#include "platform/text.h"
#include "platform/uuid.h"

#include <sys/stat.h>
#include <algorithm>
#include <chrono>
#include <map>
#include <optional>
#include <system_error>
#include <thread>

namespace kestrova {
namespace {

using Clock = BuildClock;

// What identifies one version of the cache file: a file another process wrote anew differs.
struct CacheStamp {
    dev_t device;
    ino_t inode;
    off_t size;
    long long mtimeNs;
    bool operator==(const CacheStamp&) const = default;
};

std::optional<CacheStamp> StampOf(const std::u16string& path) {
    struct stat st {};
    if (::stat(platform::NativePath(path).c_str(), &st) != 0) return std::nullopt;
    return CacheStamp{
        st.st_dev, st.st_ino, st.st_size,
        static_cast<long long>(st.st_mtim.tv_sec) * 1000000000LL + st.st_mtim.tv_nsec};
}

CountedPtr<Model_original_impl_> NewModel(const std::u16string& pageFolder,
                                          const std::u16string& dataFolder) {
    return MakeCounted<Model_original_impl_>(pageFolder, dataFolder);
}

// The model from the cache, or null (the reason is in model.log).
CountedPtr<Model_original_impl_> FromCache(const std::u16string& pageFolder,
                                           const std::u16string& dataFolder,
                                           IExecControl& control) {
    CountedPtr<Model_original_impl_> model = NewModel(pageFolder, dataFolder);
    if (!LoadCache(*model, control)) return nullptr;
    return model;
}

struct ReleaseOneOnExit {
    platform::NamedMutex& mutex;
    ~ReleaseOneOnExit() { NamedLockSet::Release(mutex); }
};

// Builds under every mutex of the set, unless a cache written by another process while this
// one waited for them can be taken instead.
LoadResult BuildUnderAllLocks(const std::u16string& pageFolder, const std::u16string& dataFolder,
                              IExecControl& control, NamedLockSet& locks, bool force,
                              const std::optional<CacheStamp>& seen) {
    const AllLocksHeld held(locks);
    if (!force) {
        const std::u16string cachePath = platform::JoinPath(dataFolder, u"preserved.bin");
        const std::optional<CacheStamp> now = StampOf(cachePath);
        if (now && now != seen) {
            if (auto model = FromCache(pageFolder, dataFolder, control))
                return {std::move(model), false};
        }
    }
    CountedPtr<Model_original_impl_> model = NewModel(pageFolder, dataFolder);
    BuildFromPages(*model, control);
    return {std::move(model), true};
}

void AddDomainEntry(std::map<std::u16string, DomainEntry>& merged,
                    std::vector<std::u16string>& order, const DomainEntry& entry,
                    const char16_t* pagePath, ILog& log) {
    auto [it, added] = merged.try_emplace(entry.tag, entry);
    if (added) {
        order.push_back(entry.tag);
        return;
    }
    DomainEntry& record = it->second;
    if (!entry.displayName.empty()) {
        if (record.displayName.empty()) {
            record.displayName = entry.displayName;
        } else if (record.displayName != entry.displayName) {
            log.WriteFormat("Different domain %S display text at %S", entry.tag.c_str(), pagePath);
        }
    }
    const WeightMerge merge = MergeWeight(record.order, entry.order);
    if (merge.mixed) {
        log.WriteFormat("Mixed weight (%d, %d) for domain %S at %S", record.order, entry.order,
                        entry.tag.c_str(), pagePath);
    }
    record.order = merge.weight;
}

// Frees page records on a thread of its own, from construction until destruction (which waits
// for it); frees them on the spot when no thread can be had.
class FreeingBeside {
public:
    explicit FreeingBeside(std::vector<PageRecord>&& records) {
        try {
            thread_ = std::thread([doomed = std::move(records)]() mutable { doomed = {}; });
        } catch (const std::system_error&) {
            // The records went with the function the thread would have run.
        }
    }
    ~FreeingBeside() {
        if (thread_.joinable()) thread_.join();
    }
    FreeingBeside(const FreeingBeside&) = delete;
    FreeingBeside& operator=(const FreeingBeside&) = delete;

private:
    std::thread thread_;
};

void FillPages(Model_original_impl_& model, std::span<const PageRecord> records) {
    model.pages.resize(records.size());
    for (size_t i = 0; i < records.size(); ++i) {
        model.pages[i].file = records[i].file;
        model.pages[i].title = model.pool.CopyStringOrNull(records[i].meta.title);
    }
}

}  // namespace

LoadResult LoadModelReporting(const std::u16string& pageFolder, IExecControl& control,
                              NamedLockSet& loadLocks, bool forceRebuild, std::string& error) {
    platform::NamedMutex& reader = loadLocks.AcquireAny();
    ReleaseOneOnExit release{reader};
    const std::u16string folder = platform::NormalizePath(pageFolder);
    std::u16string dataFolder;
    if (!GetDataFolder(folder, dataFolder, &error)) return {};
    const std::u16string cachePath = platform::JoinPath(dataFolder, u"preserved.bin");
    const std::optional<CacheStamp> seen = StampOf(cachePath);
    if (!forceRebuild && seen) {
        if (auto model = FromCache(folder, dataFolder, control)) return {std::move(model), false};
    }
    return BuildUnderAllLocks(folder, dataFolder, control, loadLocks, forceRebuild, seen);
}

LoadResult LoadModel(const std::u16string& pageFolder, IExecControl& control,
                     NamedLockSet& loadLocks, bool forceRebuild) {
    std::string ignored;
    return LoadModelReporting(pageFolder, control, loadLocks, forceRebuild, ignored);
}

void BuildDomains(Model_original_impl_& model, std::span<const PageRecord> pages, ILog& log) {
    std::map<std::u16string, DomainEntry> merged;  // exact (code unit) order of tags
    std::vector<std::u16string> order;
    for (const PageRecord& page : pages) {
        for (const DomainEntry& entry : page.meta.domains) {
            if (entry.tag.empty()) {
                log.WriteFormat("Empty domain tag at %S", page.file.path);
                continue;
            }
            AddDomainEntry(merged, order, entry, page.file.path, log);
        }
    }
    std::vector<const DomainEntry*> sorted;
    sorted.reserve(order.size());
    for (const std::u16string& tag : order) {
        DomainEntry& record = merged.at(tag);
        if (record.displayName.empty()) record.displayName = record.tag;
        sorted.push_back(&record);
    }
    std::stable_sort(sorted.begin(), sorted.end(), [](const DomainEntry* a, const DomainEntry* b) {
        const int byWeight = CompareWeight(a->order, b->order);
        if (byWeight != 0) return byWeight < 0;
        return platform::CompareText(a->displayName, b->displayName) < 0;
    });
    model.domains.resize(sorted.size());
    for (size_t i = 0; i < sorted.size(); ++i) {
        model.domains[i].tag = model.pool.CopyString(sorted[i]->tag);
        model.domains[i].displayName = model.pool.CopyString(sorted[i]->displayName);
    }
}

LoadResult LoadModelOnce(const std::u16string& pageFolder, bool forceRebuild) {
    platform::ManualResetEvent stop;
    NamedLockSet locks(kLoadLockSet, pageFolder, kLockSetSize, stop);
    NullExecControl control;
    return LoadModel(pageFolder, control, locks, forceRebuild);
}

void PrepareForSearch(IModel* model) {
    auto* original = dynamic_cast<Model_original_impl_*>(model);
    if (!original) return;
    original->FindPageIndex(u"");
    original->GetTitleWords();
}

namespace {

// BuildFromPages with its log open.
void BuildLogged(Model_original_impl_& model, IExecControl& control, ILog& log) {
    log.WriteFormat("start loading for %S", model.HtmlFolder().c_str());
    CheckBreak(control);
    const Clock::time_point start = Clock::now();
    DevModeOptions options;
    ReadDevModeOptions(options);
    std::vector<FileInfo> files;
    collectHtmlFiles(model.HtmlFolder(), options.IncludeLUL, model.pool, files, control,
                     FileStamps::kLeftToReader, &log);
    log.WriteFormat("collectHtmlFiles  N = %d  t = %d", static_cast<int>(files.size()),
                    ElapsedMs(start));
    std::vector<PageRecord> records = ReadPages(model, files, log, control);
    BuildDomains(model, records, log);
    CheckBreak(control);
    FillPages(model, records);
    CheckBreak(control);
    TopicRegistry registry(model);
    RegisterKeywords(model, records, registry, log);
    CheckBreak(control);
    RegisterContextIds(model, records, registry, log);
    CheckBreak(control);
    BuildContent(model, records, registry, log);
    CheckBreak(control);
    AssignPageLocations(model);
    CheckBreak(control);
    ComputeKeywordDomains(model);
    SortKeywords(model);
    CheckBreak(control);
    const platform::Uuid uid = platform::CreateUuid();
    std::copy(uid.bytes.begin(), uid.bytes.end(), model.uid.begin());
    log.WriteFormat("loading complete   t = %d", ElapsedMs(start));
    CheckBreak(control);
    // The page records hold many small strings: freeing them costs about as much as writing
    // the cache, so it is done beside that.
    FreeingBeside freeing(std::move(records));
    model.builtFromPages = true;
    SaveCache(model, control, log);
}

}  // namespace

void BuildFromPages(Model_original_impl_& model, IExecControl& control) {
    FileLog log(platform::NativePath(model.LogPath()));
    LoggingLoadFailure(log, [&] { BuildLogged(model, control, log); });
}

}  // namespace kestrova
