#include "model/content_original_impl.h"
#include "model/counted.h"
#include "model/internal/index_list.h"
#include "model/internal/model_pool.h"
#include "model/model_original_impl.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace kestrova {
namespace {

std::u16string ScratchFolder(const char* name) {
    return platform::PathFromNative(testing::FreshScratchDir(name).string());
}

TEST(IndexList, InlineSingleValueArrayAndEmpty) {
    ModelPool pool;
    const int32_t one[] = {7};
    const IndexList single = IndexList::From(pool, one);
    EXPECT_EQ(single.array, nullptr);
    EXPECT_EQ(single.Count(), 1);
    EXPECT_EQ(single.Item(0), 7);
    EXPECT_EQ(single.Item(1), -1);
    EXPECT_TRUE(single.Contains(7));

    const int32_t many[] = {3, 0, 9};
    const IndexList list = IndexList::From(pool, many);
    EXPECT_EQ(list.inlineValue, -1);
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(2), 9);
    EXPECT_EQ(list.Item(3), -1);
    EXPECT_EQ(list.Item(-1), -1);
    EXPECT_FALSE(list.Contains(4));

    const IndexList empty = IndexList::From(pool, {});
    EXPECT_EQ(empty.Count(), 0);
    EXPECT_EQ(empty.Item(0), -1);
}

TEST(ModelPool, ZeroLargeAndBlockBoundaryRequests) {
    ModelPool pool;
    EXPECT_EQ(pool.Allocate(0), nullptr);
    void* big = pool.Allocate(ModelPool::kBlockSize + 1);
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(pool.BytesReserved(), ModelPool::kBlockSize + 1);
    // Two requests that do not fit one block together take two blocks.
    char* a = static_cast<char*>(pool.Allocate(40000));
    char* b = static_cast<char*>(pool.Allocate(40000));
    EXPECT_EQ(pool.BytesReserved(), 3 * ModelPool::kBlockSize + 1);
    a[39999] = 1;
    b[0] = 2;
    // A whole block's worth fits a fresh block exactly.
    EXPECT_NE(pool.Allocate(ModelPool::kBlockSize), nullptr);
    const char16_t* s = pool.CopyString(u"закон");
    EXPECT_EQ(StringView(s), u"закон");
    EXPECT_EQ(s[5], u'\0');
    EXPECT_EQ(pool.CopyStringOrNull(u""), nullptr);
    EXPECT_NE(pool.CopyString(u""), nullptr);
    EXPECT_EQ(StringLength(nullptr), 0u);
}

struct Probe : CounterBase_ {
    explicit Probe(int* destroyed) : destroyed_(destroyed) {}
    ~Probe() override { ++*destroyed_; }
    int* destroyed_;
};

TEST(CountedPtr, StartsWithTheCreatorsReferenceAndReleasesAtZero) {
    int destroyed = 0;
    {
        CountedPtr<Probe> p = MakeCounted<Probe>(&destroyed);
        EXPECT_EQ(p->RefCount(), 1);
        CountedPtr<Probe> q = p;
        EXPECT_EQ(p->RefCount(), 2);
        CountedPtr<CounterBase_> base = q;
        q.Reset();
        EXPECT_EQ(p->RefCount(), 2);
        Probe* raw = p.Detach();
        EXPECT_EQ(destroyed, 0);
        CountedPtr<Probe> again = CountedPtr<Probe>::Adopt(raw);
        CountedPtr<Probe> shared = CountedPtr<Probe>::Share(raw);
        EXPECT_EQ(raw->RefCount(), 3);
    }
    EXPECT_EQ(destroyed, 1);
}

class ModelCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        data_ = ScratchFolder("model-core-data");
        model_ = CountedPtr<Model_original_impl_>::Adopt(
            new Model_original_impl_(u"/kb/Вельтра", data_));
        Model_original_impl_& m = *model_;
        m.pages.resize(2);
        m.pages[0].file.path = m.pool.CopyString(u"law\\Index.html");
        m.pages[1].file.path = m.pool.CopyString(u"tech\\a b.html");
        m.topics.resize(2);
        for (int i = 0; i < 2; ++i) {
            m.topics[i].pages = &m;
            m.topics[i].pageIndex = i;
        }
        m.contextIds = {{m.pool.CopyString(u"HELP_A"), 0}, {m.pool.CopyString(u"help_b"), 1}};
    }
    std::u16string data_;
    CountedPtr<Model_original_impl_> model_;
};

TEST_F(ModelCoreTest, DerivesItsFilesAndCreatesTheDataFolder) {
    EXPECT_EQ(model_->CachePath(), data_ + u"/preserved.bin");
    EXPECT_EQ(model_->LogPath(), data_ + u"/model.log");
    EXPECT_TRUE(std::filesystem::is_directory(platform::NativePath(data_)));
}

TEST_F(ModelCoreTest, ListsGiveNullOutOfRange) {
    EXPECT_EQ(model_->GetPage(-1), nullptr);
    EXPECT_EQ(model_->GetPage(2), nullptr);
    EXPECT_NE(model_->GetPage(1), nullptr);
    EXPECT_EQ(model_->GetTopic(2), nullptr);
    EXPECT_EQ(model_->GetDomainList()->GetItem(0), nullptr);
    EXPECT_EQ(model_->GetTopic(0)->GetPage(), model_->GetPage(0));
}

TEST_F(ModelCoreTest, HelpIdsMatchIgnoringCase) {
    EXPECT_EQ(model_->FindTopicByHelpId(u"help_a"), model_->GetTopic(0));
    EXPECT_EQ(model_->FindTopicByHelpId(u"HELP_B"), model_->GetTopic(1));
    EXPECT_EQ(model_->FindTopicByHelpId(u"help_c"), nullptr);
    EXPECT_EQ(model_->FindTopicByHelpId(u"a"), nullptr);
}

TEST_F(ModelCoreTest, PageIndexByPathIgnoresCase) {
    EXPECT_EQ(model_->FindPageIndex(u"LAW\\index.HTML"), 0);
    EXPECT_EQ(model_->FindPageIndex(u"tech\\a b.html"), 1);
    EXPECT_EQ(model_->FindPageIndex(u"law/index.html"), kNoIndex);
}

TEST_F(ModelCoreTest, UrlsEscapeOnlyWhatTheyMust) {
    IURLProvider* urls = model_->GetURLProvider();
    EXPECT_EQ(StringView(urls->GetURL(u"law\\Index.html", nullptr)),
              u"file:///kb/Вельтра/law/Index.html");
    EXPECT_EQ(StringView(urls->GetURL(u"tech\\a b.html", u"part 2")),
              u"file:///kb/Вельтра/tech/a%20b.html#part%202");
    EXPECT_EQ(StringView(urls->GetRelativePath(u"file:///kb/Вельтра/tech/a%20b.html")),
              u"tech\\a b.html");
    EXPECT_EQ(StringView(urls->GetRelativePath(u"/kb/Вельтра/law/Index.html")), u"law\\Index.html");
    EXPECT_EQ(StringView(urls->GetRelativePath(u"/kb/other.html")), u"..\\other.html");
    EXPECT_EQ(urls->GetRelativePath(u"https://example.org/a.html"), nullptr);
    EXPECT_EQ(urls->GetRelativePath(u"file://server/share/a.html"), nullptr);
}

TEST(ContentNode, HeadingWithoutChildrenGivesEmptyListLeafGivesNull) {
    Content_original_impl_ content(nullptr);
    content.nodes.resize(3);
    for (auto& n : content.nodes) n.host = &content;
    content.nodes[0].flags = kNodeHeading;
    content.nodes[0].text = u"Раздел";
    content.nodes[1].parentIndex = 2;
    content.nodes[1].text = u"Страница";
    content.nodes[2].text = u"Глава";
    ModelPool pool;
    const int32_t kids[] = {1};
    content.nodes[2].children = IndexList::From(pool, kids);
    const int32_t roots[] = {0, 2};
    content.roots = IndexList::From(pool, roots);

    ASSERT_NE(content.nodes[0].GetChildren(), nullptr);
    EXPECT_EQ(content.nodes[0].GetChildren()->GetCount(), 0);
    EXPECT_EQ(content.nodes[1].GetChildren(), nullptr);
    EXPECT_EQ(content.nodes[2].GetChildren()->GetItem(0), &content.nodes[1]);
    EXPECT_EQ(content.nodes[2].GetChildren()->GetItem(1), nullptr);
    EXPECT_EQ(content.nodes[1].GetTopic(), nullptr);
    std::vector<std::u16string> path{u"stale"};
    content.nodes[1].GetTitlePath(path);
    EXPECT_EQ(path, (std::vector<std::u16string>{u"Глава", u"Страница"}));
    EXPECT_EQ(content.GetRoots()->GetItem(1), &content.nodes[2]);
    EXPECT_EQ(content.GetRoots()->GetItem(2), nullptr);
    EXPECT_EQ(content.CountChapters(), 2);
}

}  // namespace
}  // namespace kestrova
