#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "exec/named_lock_set.h"
#include "model/content_original_impl.h"
#include "model/data_folder.h"
#include "model/index_build.h"
#include "model/internal/cache_stream.h"
#include "model/internal/model_pool.h"
#include "model/internal/preserved_cache.h"
#include "model/keyword_list_impl.h"
#include "model/model_diagnostics.h"
#include "model/model_loader.h"
#include "model/model_original_impl.h"
#include "platform/event.h"
#include "platform/file.h"
#include "platform/path.h"
#include "test_model.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <fstream>
#include <sstream>

namespace kestrova {
namespace {

// Asks to stop, or fails as a full disk or exhausted memory would, at its n-th check.
class NoControl final : public IExecControl {
public:
    bool ShouldBreak() override {
        const int call = calls++;
        if (failAfter >= 0 && call >= failAfter) throw std::runtime_error("disk on fire");
        return breakAfter >= 0 && call >= breakAfter;
    }
    void ReportProgress(const ExecProgress& progress) override { stages.push_back(progress.stage); }
    int breakAfter = -1;
    int failAfter = -1;
    int calls = 0;
    std::vector<int32_t> stages;
};

std::string ReadFile(const std::u16string& path) {
    std::ifstream in(platform::NativePath(path), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string Page(const std::string& meta) {
    return "<html><head><meta charset=\"utf-8\"><title>T</title>" + meta +
           "</head><body>x</body></html>";
}

std::filesystem::path MakeKb(const char* name) {
    const std::filesystem::path dir = platform::NativePath(test::ScratchFolder(name));
    std::filesystem::remove_all(dir);
    std::u16string data;  // a fresh data folder too: the folder list outlives a test run
    if (GetDataFolder(platform::PathFromNative(dir.string()), data)) {
        std::filesystem::remove_all(platform::NativePath(data));
    }
    WriteFile(dir / "a.htm",
              Page("<meta domain=\"law\"><meta name=\"keywords\" content=\"Закон\">"));
    WriteFile(dir / "sub" / "b.HTML", Page("<meta chapter=\"Глава\">"));
    WriteFile(dir / "_draft.htm", Page(""));
    WriteFile(dir / "c.htmx", Page(""));
    return dir;
}

// A small page folder with the lock set a loader thread would hold for it.
struct LoadableKb {
    explicit LoadableKb(const char* name)
        : dir(MakeKb(name)),
          folder(platform::PathFromNative(dir.string())),
          locks(kLoadLockSet, folder, kLockSetSize, stop) {}
    LoadResult Load(bool force) { return LoadModel(folder, control, locks, force); }

    const std::filesystem::path dir;
    const std::u16string folder;
    platform::ManualResetEvent stop;
    NamedLockSet locks;
    NoControl control;
};

TEST(FolderList, SameFolderSameEntryAndDamageKeepsEarlierEntries) {
    std::u16string a, b, c;
    ASSERT_TRUE(GetDataFolder(u"/kb/one", a));
    ASSERT_TRUE(GetDataFolder(u"/kb/./x/../one/", b));
    EXPECT_EQ(a, b);
    ASSERT_TRUE(GetDataFolder(u"/kb/ONE", c));
    EXPECT_NE(a, c);  // letter case is kept on Linux

    std::vector<FolderEntry> entries{{platform::CreateUuid(), u"/a"},
                                     {platform::CreateUuid(), u"/b"}};
    std::string bytes = SerializeFolderList(entries);
    EXPECT_EQ(bytes.size(), 12u + 2 * (20 + 4));
    EXPECT_EQ(ParseFolderList(bytes).size(), 2u);
    EXPECT_EQ(ParseFolderList(bytes.substr(0, bytes.size() - 1)).size(), 1u);
    bytes[12 + 24 + 16] = 5;  // second entry's length becomes 261
    bytes[12 + 24 + 17] = 1;
    EXPECT_EQ(ParseFolderList(bytes).size(), 1u);
    EXPECT_TRUE(ParseFolderList("XXXX").empty());
    EXPECT_EQ(FolderKey(std::u16string(400, u'a')).size(), kMaxFolderKey);
}

TEST(Loader, BuildThenCacheThenOutdated) {
    LoadableKb kb("loader-kb");
    auto& dir = kb.dir;
    auto& control = kb.control;
    LoadResult first = kb.Load(false);
    ASSERT_TRUE(first.model);
    EXPECT_TRUE(first.rebuilt);
    ModelInfo info;
    first.model->GetModelInfo(info);
    EXPECT_EQ(info.pages, 2);
    EXPECT_EQ(info.domains, 1);
    EXPECT_EQ(info.keywords, 1);
    const std::string log = ReadFile(std::u16string(info.dataFolder) + u"/model.log");
    EXPECT_NE(log.find("collectHtmlFiles  N = 2  t = "), std::string::npos) << log;
    EXPECT_NE(log.find("saving preserved complete"), std::string::npos);

    LoadResult second = kb.Load(false);
    ASSERT_TRUE(second.model);
    EXPECT_FALSE(second.rebuilt);
    EXPECT_TRUE(GetModelDiagnostics(first.model.get())->IsBuiltFromPages());
    EXPECT_FALSE(GetModelDiagnostics(second.model.get())->IsBuiltFromPages());
    EXPECT_EQ(GetModelDiagnostics(second.model.get())->GetModelId(),
              GetModelDiagnostics(first.model.get())->GetModelId());
    EXPECT_FALSE(second.model->IsOutdated(control));
    auto* a = static_cast<Model_original_impl_*>(first.model.get());
    auto* b = static_cast<Model_original_impl_*>(second.model.get());
    EXPECT_EQ(a->uid, b->uid);
    EXPECT_EQ(a->content->nodes.size(), b->content->nodes.size());

    WriteFile(dir / "new.html", Page(""));
    EXPECT_TRUE(second.model->IsOutdated(control));

    const std::u16string xml = std::u16string(info.dataFolder) + u"/export.xml";
    first.model->ExportXml(xml.c_str());
    const std::string text = ReadFile(xml);
    EXPECT_EQ(text.rfind("\xEF\xBB\xBF<?xml version=\"1.0\"?>\r\n<model uid=\"", 0), 0u)
        << text.substr(0, 80);
    EXPECT_NE(text.find("\t<domains>\r\n\t\t<domain tag=\"law\" name=\"law\" />"),
              std::string::npos);
    EXPECT_THROW(first.model->ExportXml(u"/nonexistent/dir/x.xml"), std::runtime_error);
}

// Every prefix of a real cache and every single damaged byte is refused or read safely.
TEST(Cache, TruncatedAndDamagedFilesAreRefusedWithoutCrash) {
    LoadableKb kb("cache-kb");
    auto& folder = kb.folder;
    auto& control = kb.control;
    LoadResult built = kb.Load(true);
    ASSERT_TRUE(built.model);
    auto* m = static_cast<Model_original_impl_*>(built.model.get());
    const std::string good = ReadFile(m->CachePath());
    ASSERT_GT(good.size(), 60u);
    const auto path = platform::NativePath(m->CachePath());
    for (size_t cut = 0; cut < good.size(); cut += 7) {
        WriteFile(path, good.substr(0, cut));
        auto model = MakeCounted<Model_original_impl_>(folder, m->DataFolder());
        EXPECT_FALSE(LoadCache(*model, control)) << cut;
    }
    for (size_t i = 28; i < good.size(); ++i) {
        std::string bad = good;
        bad[i] = static_cast<char>(0xFF);
        WriteFile(path, bad);
        auto model = MakeCounted<Model_original_impl_>(folder, m->DataFolder());
        if (LoadCache(*model, control)) {
            for (auto& node : model->content->nodes) {
                std::vector<std::u16string> titles;
                node.GetTitlePath(titles);
            }
        }
    }
    std::string version = good;
    version[4] = 1;
    WriteFile(path, version);
    auto model = MakeCounted<Model_original_impl_>(folder, m->DataFolder());
    EXPECT_FALSE(LoadCache(*model, control));
    EXPECT_EQ(ReadFile(m->LogPath()), "preserved file version mismatch\r\n");
}

TEST(Cache, EmptyModelIsSixtyBytes) {
    auto model =
        MakeCounted<Model_original_impl_>(u"/kb/empty", test::ScratchFolder("cache-empty"));
    test::MemoryLog log;
    NoControl control;
    SaveCache(*model, control, log);
    EXPECT_EQ(ReadFile(model->CachePath()).size(), 60u);
    auto back = MakeCounted<Model_original_impl_>(u"/kb/empty", model->DataFolder());
    EXPECT_TRUE(LoadCache(*back, control));
}

// The output buffers its writes: values that straddle the end of its buffer, and blocks larger
// than the whole buffer, must reach the file whole and in order.
TEST(Cache, StreamWritesAcrossTheBufferReadBack) {
    const std::u16string folder = test::ScratchFolder("cache-stream");
    const std::string path = platform::NativePath(folder) + "/stream.bin";
    std::vector<int32_t> big(700000);
    for (size_t i = 0; i < big.size(); ++i) big[i] = static_cast<int32_t>(i * 7);
    ModelPool pool;
    IndexList bigList = IndexList::From(pool, big);
    const std::u16string text = u"текст";
    {
        platform::File file;
        ASSERT_EQ(file.Open(path, platform::File::Access::kWriteExclusive),
                  platform::File::OpenResult::kOk);
        CacheOutput out(file);
        for (uint32_t i = 0; i < 300000; ++i) out.U32(i);  // 1.2 MB of small writes
        out.String(text.c_str());
        out.Indices(bigList);  // one block of 2.8 MB
        out.FileTime(0x0102030405060708ULL);
        out.Flush();
    }
    const std::string data = platform::ReadWholeFile(path);
    CacheInput in(data, pool);
    for (uint32_t i = 0; i < 300000; ++i) ASSERT_EQ(in.U32(), i);
    EXPECT_EQ(StringView(in.String()), text);
    const IndexList back = in.Indices(big.size() * 7, "test");
    ASSERT_EQ(back.Count(), static_cast<int32_t>(big.size()));
    for (int32_t i = 0; i < back.Count(); ++i) ASSERT_EQ(back.Item(i), big[static_cast<size_t>(i)]);
    EXPECT_EQ(in.FileTime(), 0x0102030405060708ULL);
    EXPECT_EQ(in.Remaining(), 0u);
}

// A pipe named like a page would hold the build in its open for ever, and a device might never
// end; neither is a page nor a skipped file. A link to a page is a page.
TEST(Loader, PipesAndDevicesAreNotPages) {
    LoadableKb kb("special-files-kb");
    auto& dir = kb.dir;
    auto& control = kb.control;
    ASSERT_EQ(::mkfifo((dir / "pipe.htm").c_str(), 0600), 0);
    std::filesystem::create_symlink("/dev/zero", dir / "zero.htm");
    std::filesystem::create_symlink(dir / "a.htm", dir / "link.htm");
    LoadResult built = kb.Load(true);
    ASSERT_TRUE(built.model);
    auto* m = static_cast<Model_original_impl_*>(built.model.get());
    EXPECT_EQ(m->pages.size(), 3u);
    EXPECT_TRUE(m->skippedFiles.empty());
    EXPECT_FALSE(m->IsOutdated(control));
}

TEST(Loader, CancelledBuildLeavesNoCompletionLine) {
    LoadableKb kb("cancel-kb");
    auto& control = kb.control;
    control.breakAfter = 3;
    EXPECT_THROW(kb.Load(true), BreakExec);
    std::u16string data;
    ASSERT_TRUE(GetDataFolder(kb.folder, data));
    const std::string log = ReadFile(data + u"/model.log");
    EXPECT_EQ(log.find("loading complete"), std::string::npos) << log;
    EXPECT_EQ(log.find("loading failed"), std::string::npos) << log;
}

// A load that fails (not stopped) says why as the last line of model.log; the failure goes on
// to the caller and the cache written before stays as it was.
TEST(Loader, AFailedBuildOrCacheReadEndsTheLogWithItsReason) {
    LoadableKb kb("failing-kb");
    ASSERT_TRUE(kb.Load(true).model);
    std::u16string data;
    ASSERT_TRUE(GetDataFolder(kb.folder, data));
    const std::string cache = ReadFile(data + u"/preserved.bin");
    kb.control.failAfter = 2;
    EXPECT_THROW(kb.Load(true), std::runtime_error);
    std::string log = ReadFile(data + u"/model.log");
    EXPECT_EQ(log.rfind("start loading for ", 0), 0u) << log;
    EXPECT_TRUE(log.ends_with("\r\nloading failed: disk on fire\r\n")) << log;
    EXPECT_EQ(ReadFile(data + u"/preserved.bin"), cache);
    kb.control.calls = 0;
    kb.control.failAfter = 0;  // the cache reader's first check
    EXPECT_THROW(kb.Load(false), std::runtime_error);
    EXPECT_EQ(ReadFile(data + u"/model.log"), "loading failed: disk on fire\r\n");
}

// The indexes of a loaded model are built in the foreground, and only those not current.
TEST(Loader, BuildIndexesAndWaitBuildsWhatIsNotCurrent) {
    LoadableKb kb("foreground-index-kb");
    LoadResult loaded = kb.Load(true);
    ASSERT_TRUE(loaded.model);
    IModelDiagnostics& diagnostics = *GetModelDiagnostics(loaded.model.get());
    for (const IndexKind kind : kIndexKinds)
        EXPECT_EQ(diagnostics.GetIndexState(kind), IndexState::kMissing);
    kb.control.stages.clear();
    BuildIndexesAndWait(*loaded.model, kb.control);
    for (const IndexKind kind : kIndexKinds)
        EXPECT_EQ(diagnostics.GetIndexState(kind), IndexState::kCurrent);
    EXPECT_FALSE(kb.control.stages.empty());
    for (const int32_t stage : kb.control.stages) EXPECT_EQ(stage, kStageIndexing);
    EXPECT_TRUE(loaded.model->IsIndexReady());
    // A rebuilt model has a new identifier: its indexes are stale until built again.
    LoadResult rebuilt = kb.Load(true);
    ASSERT_TRUE(rebuilt.model);
    IModelDiagnostics& again = *GetModelDiagnostics(rebuilt.model.get());
    EXPECT_EQ(again.GetIndexState(kIndexPrecise), IndexState::kStale);
    kb.control.stages.clear();
    BuildIndexesAndWait(*GetModelFilter(rebuilt.model.get())->GetFiltered(u"law"), kb.control);
    EXPECT_EQ(again.GetIndexState(kIndexLemmatizing), IndexState::kCurrent);
    EXPECT_EQ(again.GetIndexState(kIndexPrecise), IndexState::kCurrent);
    kb.control.stages.clear();
    BuildIndexesAndWait(*rebuilt.model, kb.control);
    EXPECT_TRUE(kb.control.stages.empty());  // nothing left to build
}

}  // namespace
}  // namespace kestrova
