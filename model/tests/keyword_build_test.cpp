#include "model/content_original_impl.h"
#include "model/keyword_list_impl.h"
#include "model/tests/test_model.h"
#include "model/topic_set_impl.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using test::BuildModel;
using test::MemoryLog;
using test::TestPage;

TestPage Page(std::u16string path, std::vector<KeywordEntry> keywords,
              std::vector<HelpIdEntry> ids = {}, std::vector<DomainEntry> domains = {}) {
    TestPage p{std::move(path), {}};
    p.meta.keywords = std::move(keywords);
    p.meta.helpIds = std::move(ids);
    p.meta.domains = std::move(domains);
    return p;
}

std::vector<std::u16string> KeywordTexts(IKeywordList* list) {
    std::vector<std::u16string> texts;
    for (int32_t i = 0; i < list->GetCount(); ++i)
        texts.emplace_back(StringView(list->GetItem(i)->GetText()));
    return texts;
}

// The pages of the topics of a keyword, by path.
std::vector<std::u16string> TopicPages(Model_original_impl_& m, const Keyword_impl_& k) {
    std::vector<std::u16string> pages;
    for (int32_t i = 0; i < k.topics.Count(); ++i) {
        pages.emplace_back(StringView(m.GetTopic(k.topics.Item(i))->GetPage()->GetPath()));
    }
    return pages;
}

TEST(Keywords, CaseVariantsAreAdjacentKeywordsWithTheirOwnTopics) {
    MemoryLog log;
    auto m = BuildModel(
        {Page(u"1.html", {{u"Договор", u""}, {u"акт", u""}}), Page(u"2.html", {{u"договор", u""}}),
         Page(u"3.html", {{u"Договор", u""}, {u"Банк", u""}})},
        {}, log);
    IKeywordList* list = m->GetKeywordList();
    EXPECT_EQ(KeywordTexts(list),
              (std::vector<std::u16string>{u"акт", u"Банк", u"договор", u"Договор"}));
    EXPECT_EQ(TopicPages(*m, m->keywords->items[2]), std::vector<std::u16string>{u"2.html"});
    EXPECT_EQ(TopicPages(*m, m->keywords->items[3]),
              (std::vector<std::u16string>{u"1.html", u"3.html"}));
    // First not less: ignoring case first, then lower case before upper case.
    EXPECT_EQ(list->FindKeyword(u"договор"), 2);
    EXPECT_EQ(list->FindKeyword(u"Договор"), 3);
    EXPECT_EQ(list->FindKeyword(u"ДОГОВОР"), -1);
    EXPECT_EQ(list->FindKeyword(u"б"), 1);
    EXPECT_EQ(list->FindKeyword(u"яблоко"), -1);
    EXPECT_EQ(list->GetKeywordTopics(u"Договор")->GetCount(), 2);
    EXPECT_EQ(list->GetKeywordTopics(u"ДОГОВОР")->GetCount(), 0);
    EXPECT_EQ(list->GetKeywordTopics(u"нет")->GetCount(), 0);
    EXPECT_EQ(list->GetItem(4), nullptr);
    EXPECT_EQ(list->GetItem(-1), nullptr);
}

TEST(Keywords, RepeatsAnchorsEmptiesAndTopicNumbering) {
    MemoryLog log;
    TestPage p = Page(u"p.html", {{u"x", u""}, {u"x", u""}, {u"y", u"a"}, {u"y", u""}, {u"", u""}},
                      {{u"ID", u"b"}});
    p.meta.contents.defaultList.push_back({u"page", u"", 0, false});
    auto m = BuildModel({p}, {}, log);
    const auto& items = m->keywords->items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].topics.Count(), 2);
    EXPECT_EQ(items[0].topics.Item(0), items[0].topics.Item(1));
    EXPECT_NE(items[1].topics.Item(0), items[1].topics.Item(1));
    // Keyword declarations first (page, anchor a), then the context id (anchor b).
    ASSERT_EQ(m->topics.size(), 3u);
    EXPECT_EQ(m->topics[0].anchor, nullptr);
    EXPECT_EQ(StringView(m->topics[1].anchor), u"a");
    EXPECT_EQ(StringView(m->topics[2].anchor), u"b");
    EXPECT_EQ(m->content->nodes[0].topicIndex, 0);  // the content reuses the page topic
    EXPECT_EQ(log.lines, std::vector<std::string>{"Empty keyword at p.html"});
}

TEST(Keywords, EmptyListFindsNothing) {
    MemoryLog log;
    auto m = BuildModel({Page(u"p.html", {})}, {}, log);
    EXPECT_EQ(m->GetKeywordList()->GetCount(), 0);
    EXPECT_EQ(m->GetKeywordList()->FindKeyword(u"a"), -1);
    EXPECT_EQ(m->GetKeywordList()->FindKeyword(u""), -1);
}

TEST(Keywords, DomainsAreThoseOfTheTopicsPagesInOrderOfFirstAppearance) {
    MemoryLog log;
    auto m =
        BuildModel({Page(u"a.html", {{u"k", u""}}, {}, {test::Domain(u"c")}),
                    Page(u"b.html", {{u"k", u""}}, {}, {test::Domain(u"a"), test::Domain(u"c")}),
                    Page(u"c.html", {{u"j", u""}})},
                   {u"a", u"b", u"c"}, log);
    const auto& items = m->keywords->items;
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].domains.Count(), 0);  // j: its page has no domain
    ASSERT_EQ(items[1].domains.Count(), 2);
    EXPECT_EQ(items[1].domains.Item(0), 2);
    EXPECT_EQ(items[1].domains.Item(1), 0);
}

TEST(ContextIds, FirstDeclarationWinsIgnoringCase) {
    MemoryLog log;
    std::vector<TestPage> pages;
    for (int i = 0; i < 8; ++i)
        pages.push_back(Page(u"p" + std::u16string(1, char16_t(u'0' + i)) + u".html", {}));
    pages[3].meta.helpIds = {{u"IDH_MAIN", u""}, {u"", u""}};
    pages[7].meta.helpIds = {{u"idh_Main", u"x"}, {u"IDH_OTHER", u""}};
    auto m = BuildModel(pages, {}, log);
    ASSERT_EQ(m->contextIds.size(), 2u);
    EXPECT_EQ(StringView(m->contextIds[0].id), u"IDH_MAIN");
    EXPECT_EQ(StringView(m->FindTopicByHelpId(u"idh_main")->GetPage()->GetPath()), u"p3.html");
    EXPECT_EQ(StringView(m->FindTopicByHelpId(u"idh_other")->GetPage()->GetPath()), u"p7.html");
    EXPECT_EQ(m->FindTopicByHelpId(u"idh_none"), nullptr);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Empty context id at p3.html",
                                        "Duplicate context id \"idh_Main\" at p7.html"}));
    // The duplicate made no topic: page 3's, page 7's for IDH_OTHER, and one per page node.
    EXPECT_EQ(m->topics.size(), 2u + 8u - 2u);
}

}  // namespace
}  // namespace kestrova
