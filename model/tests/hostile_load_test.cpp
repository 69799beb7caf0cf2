// Model loading against hostile pages and a failing data folder: what comes out stays bounded,
// and a failure is reported as one.
#include "exec/exec_control.h"
#include "model/content_original_impl.h"
#include "model/data_folder.h"
#include "model/internal/content_build.h"
#include "model/model_loader.h"
#include "model/model_original_impl.h"
#include "model/topic.h"
#include "model/url_provider.h"
#include "platform/path.h"
#include "platform/settings_store.h"
#include "platform/url.h"
#include "test_model.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WritePage(const fs::path& file, const std::string& meta, const std::string& body = "x") {
    fs::create_directories(file.parent_path());
    std::ofstream(file, std::ios::binary) << "<html><head><meta charset=\"utf-8\"><title>T</title>"
                                          << meta << "</head><body>" << body << "</body></html>";
}

std::string ChapterPath(const std::string& name, int levels) {
    std::string path;
    for (int i = 0; i < levels; ++i) path += (i ? "\\" : "") + name;
    return path;
}

// Levels from the node to its root, the node included.
int Depth(const Model_original_impl_& m, int32_t node) {
    int depth = 0;
    for (; node >= 0; node = m.content->nodes[static_cast<size_t>(node)].parentIndex) ++depth;
    return depth;
}

int DeepestNode(const Model_original_impl_& m) {
    int deepest = 0;
    for (size_t i = 0; i < m.content->nodes.size(); ++i)
        deepest = std::max(deepest, Depth(m, static_cast<int32_t>(i)));
    return deepest;
}

// A page 60 KB long can declare a chapter path 20,000 levels deep: every reader of the tree
// would go that deep (the outline overflowed the stack, the export grew to 400 MB). The path is
// cut at load to a bounded depth, with a line in the log; a path at the bound is kept whole.
TEST(HostileLoad, DeepChapterPathIsCutAtLoad) {
    const fs::path kb = testing::FreshScratchDir("deep-chapters");
    WritePage(kb / "deep.htm", "<meta chapter=\"" + ChapterPath("A", 20000) + "\">");
    WritePage(kb / "bound.htm", "<meta chapter=\"" + ChapterPath("B", 255) + "\">");
    const std::u16string folder = platform::PathFromNative(kb.string());
    LoadResult built = LoadModelOnce(folder, true);
    ASSERT_TRUE(built.model);
    auto* m = static_cast<Model_original_impl_*>(built.model.get());
    EXPECT_EQ(DeepestNode(*m), static_cast<int>(kMaxChapterDepth) + 1);  // chapters and the page
    EXPECT_EQ(m->content->nodes.size(), 2 * (kMaxChapterDepth + 1));

    const std::string log = ReadAll(platform::NativePath(m->LogPath()));
    EXPECT_NE(log.find("Chapter path of 20000 levels cut to 255 at deep.htm\r\n"),
              std::string::npos)
        << log.substr(0, 2000);
    EXPECT_EQ(log.find("at bound.htm"), std::string::npos);

    const fs::path xml = kb.parent_path() / "deep-export.xml";
    m->ExportXml(platform::PathFromNative(xml.string()).c_str());
    EXPECT_LT(fs::file_size(xml), 1u << 20);

    LoadResult cached = LoadModelOnce(folder, false);
    ASSERT_TRUE(cached.model);
    EXPECT_FALSE(cached.rebuilt);
    EXPECT_EQ(DeepestNode(*static_cast<Model_original_impl_*>(cached.model.get())),
              static_cast<int>(kMaxChapterDepth) + 1);
}

// Loads the folder in a child process that must end within 30 seconds; its exit status is 0
// when the load gave a model and 1 when it gave none.
void LoadWithin30Seconds(const std::u16string& folder, int expected) {
    EXPECT_EXIT(
        {
            ::alarm(30);
            const LoadResult result = LoadModelOnce(folder, false);
            std::_Exit(result.model ? 0 : 1);
        },
        ::testing::ExitedWithCode(expected), "");
}

// Moves a per-user file aside and puts a pipe in its place for as long as it lives.
struct PipeInstead {
    explicit PipeInstead(fs::path file) : path(std::move(file)) {
        fs::create_directories(path.parent_path());
        std::error_code ignored;
        fs::rename(path, aside(), ignored);
        EXPECT_EQ(::mkfifo(path.c_str(), 0600), 0) << path;
    }
    ~PipeInstead() {
        fs::remove(path);
        std::error_code ignored;
        fs::rename(aside(), path, ignored);
    }
    fs::path aside() const { return path.string() + ".aside"; }
    const fs::path path;
};

// A pipe in the place of preserved.bin, registry or folders.bin held the load in its open for
// ever. They are passed over as files that cannot be opened: the model is built without the
// cache, without the settings, or not at all without the folder list, and the load ends.
TEST(HostileLoad, PipesInPlaceOfPerUserFilesDoNotHoldTheLoad) {
    const fs::path kb = testing::FreshScratchDir("pipe-kb");
    WritePage(kb / "a.htm", "");
    const std::u16string folder = platform::PathFromNative(kb.string());
    std::u16string data;
    ASSERT_TRUE(GetDataFolder(folder, data));
    fs::remove_all(platform::NativePath(data));  // the folder list outlives a test run
    {
        const PipeInstead cache(platform::NativePath(data + u"/preserved.bin"));
        LoadWithin30Seconds(folder, 0);
        const std::string log = ReadAll(platform::NativePath(data + u"/model.log"));
        EXPECT_NE(log.find("can't open preserved file for writing"), std::string::npos) << log;
    }
    {
        const PipeInstead registry(platform::SettingsStore::DefaultFile());
        LoadWithin30Seconds(folder, 0);
    }
    {
        const PipeInstead list(fs::path(BaseFolder()) / "folders.bin");
        LoadWithin30Seconds(folder, 1);
    }
}

std::vector<std::u16string> PagePaths(IModel& model) {
    auto& m = static_cast<Model_original_impl_&>(model);
    std::vector<std::u16string> paths;
    for (const PageInfo_impl_& page : m.pages) paths.emplace_back(page.file.path);
    std::sort(paths.begin(), paths.end());
    return paths;
}

// Names in code page 1251 (as archives made on Windows unpack) and names with a backslash
// were skipped as "cannot open file", and two folders whose names differed only in such bytes
// shared one cache. Every native name is kept lossless through the model: such pages load,
// come back from the cache, are found by search and open through their URLs.
TEST(HostileLoad, NativeNamesThatAreNotTextLoadIndexAndOpen) {
    const fs::path root = testing::FreshScratchDir("native-names");
    const std::string law = "\xCF\xF0\xE0\xE2\xEE";         // "Право" in code page 1251
    const std::string folderName = "\xEF\xE0\xEF\xEA\xE0";  // "папка"
    const fs::path kb = root / "kb-\xE0";
    for (const std::string& name :
         {law + ".htm", std::string("back\\slash.htm"), folderName + "/c.htm"}) {
        WritePage(kb / name, "", "zyxwordq");
    }
    const std::u16string folder = platform::PathFromNative(kb.string());
    LoadResult built = LoadModelOnce(folder, true);
    ASSERT_TRUE(built.model);
    auto* m = static_cast<Model_original_impl_*>(built.model.get());
    EXPECT_TRUE(m->skippedFiles.empty());
    const std::u16string backslash(1, platform::UnitOfNativeByte('\\'));
    std::vector<std::u16string> expected{platform::PathFromNative(law + ".htm"),
                                         u"back" + backslash + u"slash.htm",
                                         platform::PathFromNative(folderName) + u"\\c.htm"};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(PagePaths(*built.model), expected);
    NullExecControl control;
    EXPECT_FALSE(built.model->IsOutdated(control));

    LoadResult cached = LoadModelOnce(folder, false);
    ASSERT_TRUE(cached.model);
    EXPECT_FALSE(cached.rebuilt);
    EXPECT_EQ(PagePaths(*cached.model), expected);

    built.model->BuildIndex(control);
    CountedPtr<ITopicSet> hits = built.model->FindTopics(u"zyxwordq", 0, control);
    ASSERT_TRUE(hits);
    EXPECT_EQ(hits->GetCount(), 3);

    const std::u16string page = platform::PathFromNative(law + ".htm");
    const char16_t* url = built.model->GetURLProvider()->GetURL(page.c_str(), nullptr);
    ASSERT_NE(url, nullptr);
    const std::optional<std::u16string> opened = platform::PathFromFileUrl(url);
    ASSERT_TRUE(opened);
    EXPECT_EQ(platform::NativePath(*opened), (kb / (law + ".htm")).string());

    // A folder whose name differs only in such a byte has a data folder of its own.
    std::u16string first, second;
    ASSERT_TRUE(GetDataFolder(folder, first));
    ASSERT_TRUE(GetDataFolder(platform::PathFromNative((root / "kb-\xE1").string()), second));
    EXPECT_NE(first, second);
}

}  // namespace
}  // namespace kestrova
