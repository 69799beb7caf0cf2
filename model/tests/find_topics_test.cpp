// Full-text FindTopics maps every hit to the first page whose relative path equals the hit's
// stored path, letter case ignored, in rank order. These tests hold FindTopics to that rule,
// computed here from the searcher's stored paths, both when the index was built from the model
// searched and when it was built from another model of the same folder.
#include "exec/exec_control.h"
#include "model/model_original_impl.h"
#include "platform/path.h"
#include "platform/tests/scratch_dir.h"
#include "search/searcher.h"
#include "search/string_search.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrova {
namespace {

namespace fs = std::filesystem;

struct PageFile {
    std::u16string path;
    std::string body;
};

// Pages, two of them differing only in letter case, so both their hits name the first one.
const std::vector<PageFile> kPages = {
    {u"a.html", "налог закон налог"},           {u"sub/b.html", "налоги налогом право"},
    {u"A.html", "налогов закон Налог"},         {u"c.html", "право закона"},
    {u"sub/d.html", "закон налог налог налог"},
};

const char16_t* const kQueries[] = {u"налог", u"закон", u"налог закон",
                                    u"право", u"Налог", u"отсутствует"};

std::u16string U16(const std::string& s) { return platform::PathFromNative(s); }

class FindTopicsTest : public ::testing::Test {
protected:
    void SetUp() override {
        const fs::path root = testing::FreshScratchDir("FindTopicsTest");
        html_ = root / "kb";
        data_ = U16((root / "data").string());
        for (const PageFile& p : kPages) {
            const fs::path file = html_ / platform::NativePath(p.path);
            fs::create_directories(file.parent_path());
            std::ofstream(file)
                << "<html><head><meta charset=\"utf-8\"><title>t</title></head><body>" << p.body
                << "</body></html>";
        }
    }

    // A model of the pages in the order given, with its own identifier.
    CountedPtr<Model_original_impl_> MakeModel(const std::vector<size_t>& order,
                                               unsigned char uidByte) {
        auto model = CountedPtr<Model_original_impl_>::Adopt(
            new Model_original_impl_(U16(html_.string()), data_));
        for (const size_t i : order)
            model->pages.emplace_back().file.path = model->pool.CopyString(kPages[i].path);
        model->uid.fill(uidByte);
        return model;
    }

    static std::vector<IPageInfo*> Found(Model_original_impl_& model, const char16_t* query,
                                         uint32_t options) {
        NullExecControl control;
        CountedPtr<ITopicSet> set = model.FindTopics(query, options, control);
        std::vector<IPageInfo*> pages;
        for (int32_t i = 0; i < set->GetCount(); ++i) pages.push_back(set->GetItem(i)->GetPage());
        return pages;
    }

    // The rule itself: the stored paths in rank order, each mapped by a pass over the pages.
    std::vector<IPageInfo*> Expected(Model_original_impl_& model, const char16_t* query,
                                     uint32_t options) {
        Searcher searcher(
            data_, (options & kSearchRelatedWords) ? kIndexLemmatizing : kIndexPrecise, false);
        std::vector<std::u16string> paths;
        std::vector<IPageInfo*> pages;
        if (!searcher.Search(query, paths)) return pages;
        for (const std::u16string& path : paths) {
            for (size_t i = 0; i < model.pages.size(); ++i) {
                if (EqualIgnoringCase(path, model.pages[i].file.path)) {
                    pages.push_back(model.GetPage(static_cast<int32_t>(i)));
                    break;
                }
            }
        }
        return pages;
    }

    static bool EqualIgnoringCase(const std::u16string& a, std::u16string_view b) {
        if (a.size() != b.size()) return false;
        for (size_t i = 0; i < a.size(); ++i) {
            if (std::tolower(static_cast<int>(a[i])) != std::tolower(static_cast<int>(b[i])))
                return false;
        }
        return true;
    }

    void ExpectTheRule(Model_original_impl_& model) {
        for (const uint32_t options : {0u, kSearchRelatedWords}) {
            for (const char16_t* query : kQueries) {
                SCOPED_TRACE(platform::NativePath(query) + " options " + std::to_string(options));
                EXPECT_EQ(Found(model, query, options), Expected(model, query, options));
            }
        }
    }

    fs::path html_;
    std::u16string data_;
};

TEST_F(FindTopicsTest, HitsOfTheModelsOwnIndexFollowTheStoredPaths) {
    CountedPtr<Model_original_impl_> model = MakeModel({0, 1, 2, 3, 4}, 1);
    NullExecControl control;
    model->BuildIndex(control);
    ASSERT_TRUE(model->IsIndexReady());
    ExpectTheRule(*model);
    // A.html is found, but its hits name a.html, the first page of that path.
    const std::vector<IPageInfo*> found = Found(*model, u"налогов", 0);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0], model->GetPage(0));
}

TEST_F(FindTopicsTest, HitsOfAnIndexBuiltFromAnotherModelFollowTheStoredPaths) {
    NullExecControl control;
    MakeModel({0, 1, 2, 3, 4}, 1)->BuildIndex(control);
    // The same folder seen by newer models (another identifier): the pages in another order,
    // then also one page gone. Document numbers of the old index are not their page numbers.
    for (const std::vector<size_t>& order :
         {std::vector<size_t>{4, 3, 1, 0, 2}, std::vector<size_t>{4, 3, 1, 0}}) {
        CountedPtr<Model_original_impl_> newer = MakeModel(order, 2);
        ASSERT_FALSE(newer->IsIndexReady());
        ExpectTheRule(*newer);
        EXPECT_EQ(Found(*newer, u"право", 0).size(), 2u);
        EXPECT_EQ(Found(*newer, u"налогов", 0), std::vector<IPageInfo*>{newer->GetPage(3)});
    }
}

// Titles only: the pages whose titles the query's matcher counts, best first.
TEST_F(FindTopicsTest, TitleHitsAreThePagesTheMatcherCountsInDescendingScore) {
    CountedPtr<Model_original_impl_> model = MakeModel({0, 1, 2, 3, 4}, 1);
    const char16_t* const titles[] = {u"Налог на прибыль", u"Налоги и налог", nullptr, u"Право",
                                      u"налогом налог налог"};
    for (size_t i = 0; i < model->pages.size(); ++i) model->pages[i].title = titles[i];
    for (const uint32_t options : {kSearchTitles, kSearchTitles | kSearchRelatedWords}) {
        const std::unique_ptr<IStringSearch_impl_> matcher = CreateStringSearch(u"налог", options);
        std::vector<IPageInfo*> expected;
        for (size_t i = 0; i < model->pages.size(); ++i) {
            if (matcher->CountMatches(titles[i]) > 0)
                expected.push_back(model->GetPage(static_cast<int32_t>(i)));
        }
        std::vector<IPageInfo*> found = Found(*model, u"налог", options);
        for (size_t i = 1; i < found.size(); ++i) {
            EXPECT_GE(matcher->CountMatches(found[i - 1]->GetTitle()),
                      matcher->CountMatches(found[i]->GetTitle()));
        }
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected) << options;
    }
    EXPECT_EQ(Found(*model, u"налог", kSearchTitles | kSearchRelatedWords).front(),
              model->GetPage(4));
}

}  // namespace
}  // namespace kestrova
