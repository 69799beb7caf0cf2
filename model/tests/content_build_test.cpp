#include "model/content_original_impl.h"
#include "model/internal/weight.h"
#include "model/tests/test_model.h"
#include "platform/text.h"

#include <gtest/gtest.h>

#include <climits>

namespace kestrova {
namespace {

using test::BuildModel;
using test::Entry;
using test::MemoryLog;
using test::Steps;
using test::TestPage;

TestPage Page(std::u16string path, std::vector<ChapterStep> steps,
              std::vector<ContentEntry> entries = {}, std::vector<DomainEntry> domains = {}) {
    TestPage p{std::move(path), {}};
    p.meta.chapters.defaultList = std::move(steps);
    p.meta.contents.defaultList = std::move(entries);
    p.meta.domains = std::move(domains);
    return p;
}

std::u16string Text(IContentNode* node) {
    return node ? std::u16string(StringView(node->GetText())) : u"<null>";
}

std::vector<std::u16string> Texts(IContentNodeList* list) {
    std::vector<std::u16string> texts;
    for (int32_t i = 0; list && i < list->GetCount(); ++i) texts.push_back(Text(list->GetItem(i)));
    return texts;
}

std::vector<int32_t> Domains(const IndexList& list) {
    std::vector<int32_t> out;
    for (int32_t i = 0; i < list.Count(); ++i) out.push_back(list.Item(i));
    return out;
}

TEST(Weight, OrderAndMerge) {
    std::vector<int32_t> w{3, 0, -1, 1, INT_MIN, 0, -2};
    std::sort(w.begin(), w.end(), [](int32_t a, int32_t b) { return CompareWeight(a, b) < 0; });
    EXPECT_EQ(w, (std::vector<int32_t>{1, 3, 0, 0, -1, -2, INT_MIN}));
    EXPECT_EQ(MergeWeight(3, 5).weight, 5);
    EXPECT_EQ(MergeWeight(-3, -5).weight, -5);
    EXPECT_EQ(MergeWeight(0, -5).weight, -5);
    EXPECT_EQ(MergeWeight(7, 0).weight, 7);
    const WeightMerge mixed = MergeWeight(3, -2);
    EXPECT_EQ(mixed.weight, 0);
    EXPECT_TRUE(mixed.mixed);
    EXPECT_FALSE(MergeWeight(INT_MIN, INT_MIN).mixed);
}

TEST(ContentBuild, SharedChaptersCaseSensitiveNamesAndArrayOrder) {
    MemoryLog log;
    auto m = BuildModel({Page(u"1.html", Steps({u"A", u"B"}), {Entry(u"p1")}),
                         Page(u"2.html", Steps({u"A", u"B"}), {Entry(u"p2")}),
                         Page(u"3.html", Steps({u"a"}), {Entry(u"p3")}),
                         Page(u"4.html", Steps({u"A"}), {Entry(u"p4")})},
                        {}, log);
    IContent* content = m->GetContent();
    // Latin lower case sorts before upper case.
    EXPECT_EQ(Texts(content->GetRoots()), (std::vector<std::u16string>{u"a", u"A"}));
    IContentNode* a = content->GetRoots()->GetItem(1);
    EXPECT_EQ(Texts(a->GetChildren()), (std::vector<std::u16string>{u"B", u"p4"}));
    EXPECT_EQ(Texts(a->GetChildren()->GetItem(0)->GetChildren()),
              (std::vector<std::u16string>{u"p1", u"p2"}));
    // Roots first, then each sibling group directly followed by the groups below it.
    std::vector<std::u16string> array;
    for (auto& n : m->content->nodes) array.emplace_back(StringView(n.text));
    EXPECT_EQ(array, (std::vector<std::u16string>{u"a", u"A", u"p3", u"B", u"p4", u"p1", u"p2"}));
    EXPECT_EQ(m->content->nodes[3].parentIndex, 1);
    EXPECT_EQ(Text(a->GetChildren()->GetItem(0)->GetParent()), u"A");
    EXPECT_TRUE(log.lines.empty());
}

TEST(ContentBuild, SiblingsByWeightThenText) {
    MemoryLog log;
    std::vector<TestPage> pages;
    const int32_t weights[] = {3, 0, -1, 1, INT_MIN, 0};
    const char16_t* texts[] = {u"w3", u"zero-b", u"m1", u"w1", u"min", u"zero-a"};
    for (int i = 0; i < 6; ++i) {
        pages.push_back(Page(std::u16string(u"p") + char16_t(u'0' + i) + u".html", Steps({u"C"}),
                             {Entry(texts[i], weights[i])}));
    }
    auto m = BuildModel(pages, {}, log);
    EXPECT_EQ(Texts(m->GetContent()->GetRoots()->GetItem(0)->GetChildren()),
              (std::vector<std::u16string>{u"w1", u"w3", u"zero-a", u"zero-b", u"m1", u"min"}));
}

TEST(ContentBuild, PagesWithoutChaptersArePlacedByFolderAndAtTheBottom) {
    MemoryLog log;
    auto m = BuildModel(
        {Page(u"x\\y\\page.html", {}, {Entry(u"deep")}, {test::Domain(u"law")}),
         Page(u"top.html", {}, {Entry(u"plain")}), Page(u"first.html", {}, {Entry(u"ordered", 1)})},
        {u"law"}, log);
    IContentNodeList* roots = m->GetContent()->GetRoots();
    EXPECT_EQ(Texts(roots), (std::vector<std::u16string>{u"ordered", u"plain", u"x"}));
    const auto& nodes = m->content->nodes;
    const auto* x = &nodes[2];
    EXPECT_TRUE(Domains(x->domains).empty());
    IContentNode* y = roots->GetItem(2)->GetChildren()->GetItem(0);
    EXPECT_EQ(Text(y), u"y");
    IContentNode* page = y->GetChildren()->GetItem(0);
    EXPECT_EQ(Domains(static_cast<ContentNode_original_impl_*>(page)->domains),
              std::vector<int32_t>{0});
    EXPECT_EQ(Domains(m->pages[0].domains), std::vector<int32_t>{0});
    EXPECT_EQ(StringView(m->pages[0].location), u"x: y");
    EXPECT_EQ(m->pages[1].location, nullptr);  // at the root: no ancestors
}

TEST(ContentBuild, IndexPagesMakeHeadingsAndConflictsAreLogged) {
    MemoryLog log;
    auto m = BuildModel({Page(u"a1.html", Steps({u"A"}), {Entry(u"", 0, u"", true)}),
                         Page(u"a2.html", Steps({u"A"}), {Entry(u"", 0, u"", true)}),
                         Page(u"root.html", {}, {Entry(u"", 0, u"", true)})},
                        {}, log);
    IContentNode* a = m->GetContent()->FindNodeByTitlePath({u"A"});
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(static_cast<ContentNode_original_impl_*>(a)->flags & kNodeHeading, kNodeHeading);
    ASSERT_NE(a->GetTopic(), nullptr);
    EXPECT_EQ(StringView(a->GetTopic()->GetPage()->GetPath()), u"a1.html");
    ASSERT_NE(a->GetChildren(), nullptr);
    EXPECT_EQ(a->GetChildren()->GetCount(), 0);
    // The index page without a chapter becomes a plain node named after its file.
    EXPECT_NE(m->GetContent()->FindNodeByTitlePath({u"root"}), nullptr);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Topic conflict for content node at a2.html",
                                        "Heading not supported for root chapter at root.html"}));
}

TEST(ContentBuild, LocationsSkipHiddenChapters) {
    MemoryLog log;
    std::vector<ChapterStep> hidden{{u"Book I", 0, true}, {u"Laws", 0, false}};
    auto m = BuildModel({Page(u"h.html", hidden, {Entry(u"h")}),
                         Page(u"v.html", Steps({u"Book II", u"Laws"}), {Entry(u"v")})},
                        {}, log);
    EXPECT_EQ(StringView(m->pages[0].location), u"Laws");
    EXPECT_EQ(StringView(m->pages[1].location), u"Book II: Laws");
}

TEST(ContentBuild, MixedWeightsProfilesAndEmptyTexts) {
    MemoryLog log;
    std::vector<ChapterStep> five{{u"C", 5, false}};
    std::vector<ChapterStep> minus{{u"C", -5, false}};
    TestPage printed = Page(u"print.html", Steps({u"C"}), {Entry(u"default text")});
    printed.meta.chapters.profiles[u"print"] = Steps({u"C"});
    TestPage untitled = Page(u"dir\\.html", Steps({u"D"}));
    auto m = BuildModel({Page(u"five.html", five), Page(u"minus.html", minus), printed, untitled},
                        {}, log);
    EXPECT_EQ(log.lines,
              (std::vector<std::string>{"Mixed weight (5, -5) for content node at minus.html",
                                        "Mixed profile for content node at print.html",
                                        "Empty content text for page dir\\.html"}));
    // The merged weight 0 puts C after the chapter D, which has none either, by text.
    EXPECT_EQ(Texts(m->GetContent()->GetRoots()), (std::vector<std::u16string>{u"C", u"D"}));
    IContentNode* c = m->GetContent()->FindNodeByTitlePath({u"C"});
    EXPECT_EQ(Texts(c->GetChildren()),
              (std::vector<std::u16string>{u"default text", u"default text", u"five", u"minus"}));
    // The secondary profile's node does not give the page its location.
    EXPECT_EQ(StringView(m->pages[2].location), u"C");
    const auto& nodes = m->content->nodes;
    int secondary = 0;
    for (const auto& n : nodes) secondary += (n.flags & kNodeSecondaryProfile) ? 1 : 0;
    EXPECT_EQ(secondary, 1);
}

}  // namespace
}  // namespace kestrova

namespace kestrova {
namespace {

TEST(ContentLookup, TopicsPagesAndTitlePaths) {
    test::MemoryLog log;
    TestPage anchored =
        Page(u"Dir\\Page.html", Steps({u"A"}), {Entry(u"part", 0, u"x"), Entry(u"whole")});
    TestPage onlyAnchor = Page(u"other.html", Steps({u"A"}), {Entry(u"o", 0, u"y")});
    TestPage printed = Page(u"print.html", {}, {Entry(u"p")});
    printed.meta.chapters.defaultList = Steps({u"B"});
    printed.meta.chapters.profiles[u"print"] = Steps({u"P"});
    auto m = test::BuildModel({anchored, onlyAnchor, printed}, {}, log);
    IContent* content = m->GetContent();

    IContentNode* whole = content->FindNodeByTitlePath({u"A", u"whole"});
    IContentNode* part = content->FindNodeByTitlePath({u"A", u"part"});
    ASSERT_NE(whole, nullptr);
    ASSERT_NE(part, nullptr);
    // The page without an anchor wins; a page found only with an anchor comes last.
    EXPECT_EQ(content->FindNodeByPage(u"dir\\PAGE.html"), whole);
    EXPECT_EQ(content->FindNodeByPage(u"other.html"), content->FindNodeByTitlePath({u"A", u"o"}));
    EXPECT_EQ(content->FindNodeByPage(u"dir/page.html"), nullptr);
    // The same topic first, else any node of the same page.
    EXPECT_EQ(content->FindNodeByTopic(part->GetTopic()), part);
    Topic_impl_ elsewhere = *static_cast<Topic_impl_*>(part->GetTopic());
    elsewhere.anchor = u"z";
    EXPECT_EQ(content->FindNodeByTopic(&elsewhere), part);  // first node of the page in the array
    EXPECT_EQ(content->FindNodeByTopic(nullptr), nullptr);
    // Secondary-profile nodes are never found by topic or page.
    EXPECT_EQ(content->FindNodeByPage(u"print.html"), content->FindNodeByTitlePath({u"B", u"p"}));
    EXPECT_NE(content->FindNodeByTitlePath({u"P", u"p"}), nullptr);
    EXPECT_EQ(content->FindNodeByTitlePath({}), nullptr);
    EXPECT_EQ(content->FindNodeByTitlePath({u"a"}), nullptr);
}

}  // namespace
}  // namespace kestrova

namespace kestrova {
namespace {

std::vector<int32_t> NodeDomains(IContentNode* node) {
    return Domains(static_cast<ContentNode_original_impl_*>(node)->domains);
}

TEST(ContentDomains, DomainChapterRootChapterAndInheritance) {
    test::MemoryLog log;
    // d0 starts at step 0 (A), d1 at step 1 (B), d2 has no domain-chapter (last step C);
    // "none" is not a domain of the model.
    TestPage chaptered = Page(u"c.html", Steps({u"A", u"B", u"C"}), {Entry(u"page")},
                              {test::Domain(u"d1", 1), test::Domain(u"d0", 0), test::Domain(u"d2"),
                               test::Domain(u"none", 0)});
    TestPage root =
        Page(u"r.html", {}, {Entry(u"root page")}, {test::Domain(u"d2"), test::Domain(u"d0")});
    root.meta.rootChapter = true;
    TestPage late = Page(u"deep.html", Steps({u"A"}), {Entry(u"late")}, {test::Domain(u"d1", 3)});
    auto m = test::BuildModel({chaptered, root, late}, {u"d0", u"d1", u"d2"}, log);
    IContent* content = m->GetContent();
    EXPECT_EQ(NodeDomains(content->FindNodeByTitlePath({u"A"})), std::vector<int32_t>{0});
    EXPECT_EQ(NodeDomains(content->FindNodeByTitlePath({u"A", u"B"})),
              (std::vector<int32_t>{0, 1}));
    EXPECT_EQ(NodeDomains(content->FindNodeByTitlePath({u"A", u"B", u"C"})),
              (std::vector<int32_t>{0, 1, 2}));
    EXPECT_EQ(NodeDomains(content->FindNodeByTitlePath({u"A", u"B", u"C", u"page"})),
              (std::vector<int32_t>{0, 1, 2}));
    // A chapter index past the page's steps gives the domain to no step.
    EXPECT_EQ(NodeDomains(content->FindNodeByTitlePath({u"A", u"late"})), std::vector<int32_t>{0});
    // A root-chapter page is placed at the root with all of its domains, in declaration order.
    EXPECT_EQ(NodeDomains(content->FindNodeByTitlePath({u"root page"})),
              (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(Domains(m->pages[1].domains), (std::vector<int32_t>{2, 0}));
    EXPECT_EQ(StringView(m->pages[0].location), u"A: B: C");
    EXPECT_TRUE(log.lines.empty());
}

// Domain tags are matched by collation: a tag that collates equal to a domain's (here with an
// ignorable soft hyphen) names that domain, on every page that repeats it.
TEST(ContentDomains, TagsMatchByCollationOnEveryPage) {
    test::MemoryLog log;
    std::vector<TestPage> pages;
    for (const char16_t* tag : {u"law", u"la\u00ADw", u"law", u"la\u00ADw", u"tax", u"LAW"}) {
        pages.push_back(Page(u"p.html", {}, {Entry(u"page")}, {test::Domain(tag)}));
    }
    auto m = test::BuildModel(pages, {u"law", u"la\u00ADw", u"tax"}, log);
    const std::vector<std::vector<int32_t>> expected{{0}, {0}, {0}, {0}, {2}, {}};
    for (size_t i = 0; i < pages.size(); ++i)
        EXPECT_EQ(Domains(m->pages[i].domains), expected[i]) << i;
}

// Siblings are ordered by weight, then by collation, whether the group is sorted by sort keys
// (a large group) or by direct comparison (a small one): both must give the same order.
TEST(ContentBuild, SmallAndLargeSiblingGroupsOrderAlike) {
    const std::vector<std::pair<std::u16string, int32_t>> tricky{
        {u"Ёж", 0}, {u"еж", 0}, {u"ёж", 0}, {u"Еж", 0}, {u"b", 0}, {u"B", 0}, {u"a10", 0},
        {u"a9", 0}, {u"z", 2},  {u"y", 1},  {u"x", -1}, {u"Ω", 0}, {u"w", 0}, {u"", 0}};
    for (const size_t padding : {size_t{0}, size_t{100}}) {
        test::MemoryLog log;
        std::vector<TestPage> pages;
        for (const auto& [text, order] : tricky)
            pages.push_back(Page(u"p.html", Steps({u"G"}), {Entry(text + u"!", order)}));
        for (size_t i = 0; i < padding; ++i)
            pages.push_back(Page(u"p.html", Steps({u"G"}), {Entry(u"pad", 0)}));
        auto m = test::BuildModel(pages, {}, log);
        std::vector<std::u16string> texts;
        for (const std::u16string& t :
             Texts(m->GetContent()->FindNodeByTitlePath({u"G"})->GetChildren())) {
            if (t != u"pad") texts.push_back(t);
        }
        EXPECT_EQ(texts, (std::vector<std::u16string>{u"y!", u"z!", u"!", u"a10!", u"a9!", u"b!",
                                                      u"B!", u"w!", u"Ω!", u"еж!", u"Еж!", u"ёж!",
                                                      u"Ёж!", u"x!"}))
            << padding;
    }
}

TEST(ContentBuild, ChaptersWithManyChildrenKeepOrderAndParents) {
    test::MemoryLog log;
    std::vector<TestPage> pages;
    for (int i = 0; i < 3000; ++i) {
        const std::string n = std::to_string(2999 - i);
        const std::u16string name = u"page " + std::u16string(n.begin(), n.end());
        pages.push_back(Page(name + u".html", Steps({u"Big"}), {Entry(name)}));
        // Every tenth page also opens a sub-chapter of its own, after its siblings were made.
        if (i % 10 == 0)
            pages.push_back(Page(name + u"-sub.html", Steps({u"Big", name}), {Entry(u"inside")}));
    }
    auto m = test::BuildModel(pages, {}, log);
    IContentNodeList* big = m->GetContent()->FindNodeByTitlePath({u"Big"})->GetChildren();
    // A chapter step meets the page node of the same text and becomes it.
    ASSERT_EQ(big->GetCount(), 3000);
    for (int32_t i = 1; i < big->GetCount(); ++i) {
        EXPECT_LT(platform::CompareText(StringView(big->GetItem(i - 1)->GetText()),
                                        StringView(big->GetItem(i)->GetText())),
                  0);
    }
    IContentNode* sub = m->GetContent()->FindNodeByTitlePath({u"Big", u"page 2999", u"inside"});
    ASSERT_NE(sub, nullptr);
    EXPECT_EQ(StringView(sub->GetParent()->GetParent()->GetText()), u"Big");
    EXPECT_EQ(m->content->nodes.size(), 1u + 3000u + 300u);
}

}  // namespace
}  // namespace kestrova
