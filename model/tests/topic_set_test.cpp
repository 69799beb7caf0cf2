#include "model/internal/topic_registry.h"
#include "model/model_original_impl.h"
#include "model/tests/test_model.h"
#include "model/topic_set_impl.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

class TopicSetTest : public ::testing::Test {
protected:
    void SetUp() override {
        model_ = CountedPtr<Model_original_impl_>::Adopt(
            new Model_original_impl_(u"/kb/test", test::ScratchFolder("topic-set-data")));
        Model_original_impl_& m = *model_;
        const char16_t* titles[] = {u"Бета", nullptr, u"Альфа"};
        const char16_t* locations[] = {u"B", u"A", nullptr};
        m.pages.resize(3);
        for (int i = 0; i < 3; ++i) {
            m.pages[i].file.path = m.pool.CopyString(u"p" + std::u16string(1, char16_t(u'0' + i)));
            m.pages[i].title = titles[i] ? m.pool.CopyString(titles[i]) : nullptr;
            m.pages[i].location = locations[i] ? m.pool.CopyString(locations[i]) : nullptr;
        }
        const int32_t domain1[] = {1};
        m.pages[1].domains = IndexList::From(m.pool, domain1);
        TopicRegistry registry(m);
        for (int i = 0; i < 3; ++i) registry.GetTopicIndex(i, u"");
        set_ = CountedPtr<TopicSet_impl_>::Adopt(AsTopicSetImpl(m.CreateTopicSet().Detach()));
        for (auto& t : m.topics) set_->AddTopic(t);
    }
    std::vector<int32_t> Ranks(const TopicSet_impl_& set) {
        std::vector<int32_t> ranks;
        for (const auto& e : set.Entries()) ranks.push_back(e.rank);
        return ranks;
    }
    CountedPtr<Model_original_impl_> model_;
    CountedPtr<TopicSet_impl_> set_;
};

TEST_F(TopicSetTest, RegistryIsUniqueByPageAndCaseSensitiveAnchor) {
    Model_original_impl_& m = *model_;
    TopicRegistry registry(m);
    const int32_t page = registry.GetTopicIndex(5, u"");
    EXPECT_EQ(registry.GetTopicIndex(5, u""), page);
    const int32_t a = registry.GetTopicIndex(5, u"a");
    EXPECT_NE(a, page);
    EXPECT_NE(registry.GetTopicIndex(5, u"A"), a);
    EXPECT_EQ(registry.GetTopicIndex(5, u"a"), a);
    EXPECT_EQ(m.topics[static_cast<size_t>(page)].anchor, nullptr);
    EXPECT_EQ(m.topics[static_cast<size_t>(page)].GetPage(), nullptr);  // no page 5
    // Topics are numbered in the order they are first asked for, whatever the page order.
    const int32_t next = static_cast<int32_t>(m.topics.size());
    EXPECT_EQ(registry.GetTopicIndex(900, u""), next);
    EXPECT_EQ(registry.GetTopicIndex(2, u""), next + 1);
    EXPECT_EQ(registry.GetTopicIndex(900, u"x"), next + 2);
    EXPECT_EQ(registry.GetTopicIndex(2, u""), next + 1);
    EXPECT_EQ(registry.GetTopicIndex(900, u""), next);
    EXPECT_EQ(m.topics[static_cast<size_t>(next)].pageIndex, 900);
}

TEST_F(TopicSetTest, NewSetIsEmptyByRankAndKeepsItsModel) {
    CountedPtr<ITopicSet> empty = model_->CreateTopicSet();
    EXPECT_EQ(empty->GetCount(), 0);
    EXPECT_EQ(empty->GetItem(0), nullptr);
    EXPECT_EQ(empty->GetSortOrder().kind, kSortByRank);
    EXPECT_TRUE(empty->GetSortOrder().ascending);
    EXPECT_TRUE(empty->Sort({kSortByTitle, false}));
    EXPECT_EQ(empty->GetSortOrder().kind, kSortByTitle);
    EXPECT_EQ(empty->GetURLProvider(), model_->GetURLProvider());
    const int32_t before = model_->RefCount();
    {
        CountedPtr<ITopicSet> more = model_->CreateTopicSet();
        EXPECT_EQ(model_->RefCount(), before + 1);
    }
    EXPECT_EQ(model_->RefCount(), before);
}

TEST_F(TopicSetTest, SortsByRankTitleAndLocation) {
    EXPECT_TRUE(set_->Sort({kSortByRank, false}));
    EXPECT_EQ(Ranks(*set_), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_TRUE(set_->Sort({kSortByRank, true}));
    EXPECT_EQ(Ranks(*set_), (std::vector<int32_t>{0, 1, 2}));
    EXPECT_TRUE(set_->Sort({kSortByTitle, true}));  // no title first, then by code units
    EXPECT_EQ(Ranks(*set_), (std::vector<int32_t>{1, 2, 0}));
    EXPECT_TRUE(set_->Sort({kSortByTitle, false}));
    EXPECT_EQ(Ranks(*set_), (std::vector<int32_t>{0, 2, 1}));
    EXPECT_TRUE(set_->Sort({kSortByLocation, true}));
    EXPECT_EQ(Ranks(*set_), (std::vector<int32_t>{2, 1, 0}));
    EXPECT_EQ(StringView(set_->GetItem(0)->GetPage()->GetPath()), u"p2");
}

TEST_F(TopicSetTest, UnknownKindChangesNothing) {
    ASSERT_TRUE(set_->Sort({kSortByTitle, false}));
    EXPECT_FALSE(set_->Sort({3, true}));
    EXPECT_FALSE(set_->Sort({-1, true}));
    EXPECT_EQ(set_->GetSortOrder().kind, kSortByTitle);
    EXPECT_FALSE(set_->GetSortOrder().ascending);
    EXPECT_EQ(Ranks(*set_), (std::vector<int32_t>{0, 2, 1}));
}

TEST_F(TopicSetTest, FilterKeepsRanksOrderAndSourceSet) {
    ASSERT_TRUE(set_->Sort({kSortByRank, false}));
    CountedPtr<TopicSet_impl_> filtered = set_->FilterByDomain(1);
    EXPECT_EQ(Ranks(*filtered), std::vector<int32_t>{1});
    EXPECT_EQ(filtered->GetSortOrder().kind, kSortByRank);
    EXPECT_FALSE(filtered->GetSortOrder().ascending);
    EXPECT_EQ(set_->GetCount(), 3);
    EXPECT_EQ(set_->FilterByDomain(0)->GetCount(), 0);
    // An entry whose topic has no page is never in a domain.
    Topic_impl_ lost;
    lost.pages = model_.get();
    lost.pageIndex = 9;
    set_->AddTopic(lost);
    EXPECT_EQ(Ranks(*set_->FilterByDomain(1)), std::vector<int32_t>{1});
}

}  // namespace
}  // namespace kestrova
