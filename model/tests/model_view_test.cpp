#include "model/content_original_impl.h"
#include "model/model_decorator_impl.h"
#include "model/model_diagnostics.h"
#include "model/tests/test_model.h"
#include "model/topic_set_impl.h"

#include <gtest/gtest.h>

#include <functional>

namespace kestrova {
namespace {

using test::BuildModel;
using test::Entry;
using test::MemoryLog;
using test::Steps;
using test::TestPage;

TestPage Page(std::u16string path, std::vector<ChapterStep> steps, std::u16string text,
              std::vector<DomainEntry> domains, std::vector<KeywordEntry> keywords = {}) {
    TestPage p{std::move(path), {}};
    p.meta.chapters.defaultList = std::move(steps);
    p.meta.contents.defaultList = {Entry(std::move(text))};
    p.meta.domains = std::move(domains);
    p.meta.keywords = std::move(keywords);
    return p;
}

// Law pages under Root\Law, tech pages under Root\Tech; the domain-chapter of each starts at
// its second step, so Root itself belongs to no domain.
class ModelViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        model_ = BuildModel(
            {Page(u"law\\a.html", Steps({u"Root", u"Law"}), u"Закон А", {test::Domain(u"law", 1)},
                  {{u"договор", u""}, {u"общий", u""}}),
             Page(u"law\\b.html", Steps({u"Root", u"Law"}), u"Закон Б", {test::Domain(u"law", 1)}),
             Page(u"tech\\c.html", Steps({u"Root", u"Tech"}), u"Схема", {test::Domain(u"tech", 1)},
                  {{u"общий", u""}}),
             Page(u"both.html", {}, u"Обе", {test::Domain(u"law"), test::Domain(u"tech")})},
            {u"law", u"tech", u"empty"}, log_);
        model_->contextIds.push_back(
            {model_->pool.CopyString(u"IDH_TECH"), model_->keywords->items[1].topics.Item(1)});
    }
    CountedPtr<IModel> View(const char16_t* tag) { return model_->GetFiltered(tag); }

    MemoryLog log_;
    CountedPtr<Model_original_impl_> model_;
};

std::vector<std::u16string> Texts(IContentNodeList* list) {
    std::vector<std::u16string> texts;
    for (int32_t i = 0; list && i < list->GetCount(); ++i)
        texts.emplace_back(StringView(list->GetItem(i)->GetText()));
    return texts;
}

TEST_F(ModelViewTest, GetFilteredGivesSelfForNoTagAndNewViewsForKnownTags) {
    EXPECT_EQ(View(nullptr).get(), model_.get());
    EXPECT_EQ(View(u"").get(), model_.get());
    EXPECT_EQ(View(u"LAW").get(), model_.get());  // tags are case-sensitive
    CountedPtr<IModel> law = View(u"law");
    ASSERT_NE(law.get(), model_.get());
    EXPECT_NE(View(u"law").get(), law.get());
    IModelFilter* filter = GetModelFilter(law.get());
    EXPECT_EQ(StringView(filter->GetFilterTag()), u"law");
    EXPECT_EQ(filter->GetFiltered(u"law").get(), law.get());
    EXPECT_EQ(filter->GetFiltered(nullptr).get(), model_.get());
    CountedPtr<IModel> tech = filter->GetFiltered(u"tech");
    EXPECT_EQ(StringView(GetModelFilter(tech.get())->GetFilterTag()), u"tech");
    EXPECT_EQ(GetModelFilter(model_.get())->GetFilterTag(), nullptr);
}

TEST_F(ModelViewTest, ViewKeepsTheModelAlive) {
    CountedPtr<IModel> law = View(u"law");
    IModel* raw = model_.get();
    model_.Reset();
    EXPECT_EQ(law->GetDomainList()->GetCount(), 3);
    EXPECT_EQ(GetModelFilter(law.get())->GetFiltered(nullptr).get(), raw);
}

TEST_F(ModelViewTest, RootsAreTheTopmostMembers) {
    EXPECT_EQ(Texts(model_->GetContent()->GetRoots()),
              (std::vector<std::u16string>{u"Root", u"Обе"}));
    CountedPtr<IModel> law = View(u"law");
    IContentNodeList* roots = law->GetContent()->GetRoots();
    EXPECT_EQ(Texts(roots), (std::vector<std::u16string>{u"Law", u"Обе"}));
    EXPECT_EQ(roots->GetItem(0)->GetParent(), nullptr);  // Root is outside the view
    EXPECT_EQ(roots->GetItem(2), nullptr);
    IContentNode* page = roots->GetItem(0)->GetChildren()->GetItem(1);
    EXPECT_EQ(StringView(page->GetText()), u"Закон Б");
    EXPECT_EQ(page->GetParent(), roots->GetItem(0));
    std::vector<std::u16string> path;
    page->GetTitlePath(path);
    EXPECT_EQ(path, (std::vector<std::u16string>{u"Root", u"Law", u"Закон Б"}));
    EXPECT_EQ(page->GetChildren(), nullptr);
    EXPECT_EQ(roots->GetItem(0)->GetChildren()->GetItem(2), nullptr);
    EXPECT_EQ(roots->GetItem(0)->GetChildren()->GetItem(-1), nullptr);
    EXPECT_EQ(roots->GetItem(-1), nullptr);

    CountedPtr<IModel> empty = View(u"empty");
    EXPECT_EQ(empty->GetContent()->GetRoots()->GetCount(), 0);
    EXPECT_EQ(empty->GetKeywordList()->GetCount(), 0);
    EXPECT_EQ(empty->GetKeywordList()->FindKeyword(u"общий"), -1);
}

TEST_F(ModelViewTest, LookupsGiveTheViewsNodesEvenOutsideIt) {
    CountedPtr<IModel> law = View(u"law");
    IContent* content = law->GetContent();
    IContentNode* tech = content->FindNodeByPage(u"TECH\\C.HTML");
    ASSERT_NE(tech, nullptr);
    EXPECT_EQ(StringView(tech->GetText()), u"Схема");
    EXPECT_EQ(tech->GetParent(), nullptr);  // Tech is not in the view
    IContentNode* root = content->FindNodeByTitlePath({u"Root"});
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(Texts(root->GetChildren()), (std::vector<std::u16string>{u"Law", u"Tech"}));
    EXPECT_EQ(content->FindNodeByTopic(tech->GetTopic()), tech);
    EXPECT_EQ(content->FindNodeByTitlePath({u"Root", u"Нет"}), nullptr);
}

std::vector<std::u16string> Tags(const std::vector<IDomain*>& domains) {
    std::vector<std::u16string> tags;
    for (IDomain* domain : domains) tags.emplace_back(StringView(domain->GetTag()));
    return tags;
}

// A view answers with its model's diagnostics, which see through the view's keywords and nodes
// to what the model stores.
TEST_F(ModelViewTest, DiagnosticsOfAViewAreTheModels) {
    CountedPtr<IModel> law = View(u"law");
    IModelDiagnostics* diagnostics = GetModelDiagnostics(law.get());
    ASSERT_NE(diagnostics, nullptr);
    EXPECT_EQ(diagnostics, GetModelDiagnostics(model_.get()));
    EXPECT_FALSE(diagnostics->IsBuiltFromPages());  // filled by hand, as the cache reader does
    IKeywordList* keywords = law->GetKeywordList();
    const int32_t shared = keywords->FindKeyword(u"общий");
    EXPECT_EQ(Tags(diagnostics->GetKeywordDomains(keywords->GetItem(shared))),
              (std::vector<std::u16string>{u"law", u"tech"}));
    IContentNode* lawNode = law->GetContent()->GetRoots()->GetItem(0);
    auto* lawOriginal = static_cast<ContentNode_original_impl_*>(
        model_->GetContent()->FindNodeByTitlePath({u"Root", u"Law"}));
    ASSERT_NE(lawNode, lawOriginal);  // the view's own node for it
    lawOriginal->flags = kNodeHeading | kNodeSecondaryProfile;
    EXPECT_EQ(diagnostics->GetNodeFlags(lawNode), kNodeHeading | kNodeSecondaryProfile);
    EXPECT_EQ(diagnostics->GetNodeFlags(lawOriginal), kNodeHeading | kNodeSecondaryProfile);
    EXPECT_EQ(Tags(diagnostics->GetNodeDomains(lawNode)), std::vector<std::u16string>{u"law"});
    IContentNode* both = law->GetContent()->GetRoots()->GetItem(1);
    EXPECT_EQ(diagnostics->GetNodeFlags(both), 0u);
    EXPECT_EQ(Tags(diagnostics->GetNodeDomains(both)),
              (std::vector<std::u16string>{u"law", u"tech"}));
    EXPECT_EQ(diagnostics->GetIndexState(kIndexPrecise), IndexState::kMissing);
    EXPECT_TRUE(diagnostics->GetIndexLogPath(kIndexLemmatizing).ends_with(u"/index_lem.log"));
    EXPECT_TRUE(diagnostics->GetLogPath().ends_with(u"/model.log"));
}

TEST_F(ModelViewTest, KeywordsAreFilteredTheirTopicsAreNot) {
    CountedPtr<IModel> law = View(u"law");
    IKeywordList* keywords = law->GetKeywordList();
    ASSERT_EQ(keywords->GetCount(), 2);
    CountedPtr<ITopicSet> shared = keywords->GetKeywordTopics(u"общий");
    ASSERT_EQ(shared->GetCount(), 2);
    EXPECT_EQ(StringView(shared->GetItem(1)->GetPage()->GetPath()), u"tech\\c.html");
    CountedPtr<IModel> tech = View(u"tech");
    EXPECT_EQ(tech->GetKeywordList()->GetCount(), 1);
    EXPECT_EQ(tech->GetKeywordList()->GetKeywordTopics(u"договор")->GetCount(), 0);
    // Context-help ids are not restricted.
    EXPECT_EQ(StringView(law->FindTopicByHelpId(u"idh_tech")->GetPage()->GetPath()),
              u"tech\\c.html");
    ModelInfo a, b;
    law->GetModelInfo(a);
    model_->GetModelInfo(b);
    EXPECT_EQ(a.pages, b.pages);
    EXPECT_EQ(a.keywords, b.keywords);
}

// A view of a domain that every node carries shows the same tree as the model.
TEST(ModelViewAlike, FullDomainViewMatchesTheModel) {
    MemoryLog log;
    std::vector<TestPage> pages;
    for (int i = 0; i < 30; ++i) {
        const std::u16string n(1, char16_t(u'a' + i % 5));
        const std::string number = std::to_string(i);
        pages.push_back(Page(u"p" + std::u16string(number.begin(), number.end()) + u".html",
                             Steps({u"C" + n, u"D" + std::u16string(1, char16_t(u'0' + i % 3))}),
                             u"t" + n, {test::Domain(u"all", 0)}, {{u"k" + n, u""}}));
    }
    auto model = BuildModel(pages, {u"all"}, log);
    CountedPtr<IModel> view = model->GetFiltered(u"all");
    std::function<void(IContentNodeList*, IContentNodeList*)> same = [&](IContentNodeList* x,
                                                                         IContentNodeList* y) {
        ASSERT_EQ(x == nullptr, y == nullptr);
        if (!x) return;
        ASSERT_EQ(x->GetCount(), y->GetCount());
        for (int32_t i = 0; i < x->GetCount(); ++i) {
            IContentNode* nx = x->GetItem(i);
            IContentNode* ny = y->GetItem(i);
            EXPECT_EQ(StringView(nx->GetText()), StringView(ny->GetText()));
            EXPECT_EQ(nx->GetTopic(), ny->GetTopic());
            EXPECT_EQ(nx->GetParent() == nullptr, ny->GetParent() == nullptr);
            same(nx->GetChildren(), ny->GetChildren());
        }
    };
    same(model->GetContent()->GetRoots(), view->GetContent()->GetRoots());
    ASSERT_EQ(model->GetKeywordList()->GetCount(), view->GetKeywordList()->GetCount());
    for (int32_t i = 0; i < model->GetKeywordList()->GetCount(); ++i) {
        const char16_t* text = model->GetKeywordList()->GetItem(i)->GetText();
        EXPECT_EQ(StringView(text), StringView(view->GetKeywordList()->GetItem(i)->GetText()));
        EXPECT_EQ(model->GetKeywordList()->FindKeyword(text),
                  view->GetKeywordList()->FindKeyword(text));
        EXPECT_EQ(model->GetKeywordList()->GetKeywordTopics(text)->GetCount(),
                  view->GetKeywordList()->GetKeywordTopics(text)->GetCount());
    }
}

}  // namespace
}  // namespace kestrova
