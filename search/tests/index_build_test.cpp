#include "platform/codepage.h"
#include "search/index_builder.h"
#include "search/internal/analyzers.h"
#include "search/internal/index_lock_file.h"
#include "search/morphology/morphology_holder.h"
#include "search/searcher.h"
#include "search_test_util.h"

#include <CLucene.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrova {
namespace {

using testing::Page;
using testing::PageFiles;
using testing::RecordingControl;
using testing::ScratchFolder;
using testing::WriteFile;

constexpr ModelUid kUid1{1};
constexpr ModelUid kUid2{2};

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A knowledge base of n pages: page i is "p<i>.htm" with the word "common", the word
// "w<i>" and, on page 1 only, "Book".
struct Pages {
    explicit Pages(const ScratchFolder& dir, int n, const std::string& extra = "") {
        for (int i = 0; i < n; ++i) {
            const std::string name = "sub\\p" + std::to_string(i) + ".htm";
            std::string body = "common w" + std::to_string(i) + " " + extra;
            if (i == 1) body += " Book";
            WriteFile(dir.File("kb/sub/p" + std::to_string(i) + ".htm"),
                      Page("Title " + std::to_string(i), body));
            names.push_back(platform::Utf8ToUtf16(name));  // a relative path of the model
        }
        files = std::make_unique<PageFiles>(dir.Path16() + u"/kb", names);
    }
    std::vector<std::u16string> names;
    std::unique_ptr<PageFiles> files;
};

std::vector<std::u16string> Find(const std::u16string& data, IndexKind kind,
                                 const std::u16string& q, bool ql = false) {
    Searcher searcher(data, kind, ql);
    std::vector<std::u16string> paths;
    EXPECT_TRUE(searcher.Search(q, paths));
    return paths;
}

TEST(IndexBuildTest, BuildsBothKindsWithIdentityLogAndProgress) {
    ScratchFolder dir;
    Pages pages(dir, 100);
    const std::u16string data = dir.Path16() + u"/data";
    RecordingControl control;
    BuildIndexes(*pages.files, data, kUid1, control);
    EXPECT_TRUE(AreIndexesCurrent(data, kUid1));
    const IndexPaths paths = MakeIndexPaths(data, kIndexPrecise);
    EXPECT_FALSE(std::filesystem::exists(paths.tempDir));
    EXPECT_FALSE(std::filesystem::exists(paths.tempLock));
    EXPECT_FALSE(std::filesystem::exists(paths.liveLock));
    EXPECT_EQ(ReadAll(paths.log), "Indexing started\r\nIndexing finished\r\n");
    // Two phases of 107: the second phase's last page is 207 of 214.
    ASSERT_FALSE(control.reports.empty());
    EXPECT_EQ(control.reports.back().stage, 3);
    EXPECT_EQ(control.reports.back().current, 107 + 100);
    EXPECT_EQ(control.reports.back().total, 214);
    EXPECT_EQ(IndexProgressTotal(100), 107);

    EXPECT_EQ(Find(data, kIndexPrecise, u"Book"), (std::vector<std::u16string>{u"sub\\p1.htm"}));
    EXPECT_TRUE(Find(data, kIndexPrecise, u"book").empty());
    EXPECT_EQ(Find(data, kIndexLemmatizing, u"book"),
              (std::vector<std::u16string>{u"sub\\p1.htm"}));
    EXPECT_EQ(Find(data, kIndexPrecise, u"common").size(), 100u);
    // The title weighs more: the page whose title holds the word comes first.
    EXPECT_EQ(Find(data, kIndexPrecise, u"w7 7").front(), u"sub\\p7.htm");
}

TEST(IndexBuildTest, CurrentKindsAreSkippedAndANewModelRebuildsBoth) {
    ScratchFolder dir;
    Pages pages(dir, 3);
    const std::u16string data = dir.Path16() + u"/data";
    RecordingControl control;
    BuildIndexes(*pages.files, data, kUid1, control);
    const size_t reports = control.reports.size();
    BuildIndexes(*pages.files, data, kUid1, control);
    EXPECT_EQ(control.reports.size(), reports);
    BuildIndexes(*pages.files, data, kUid2, control);
    EXPECT_TRUE(AreIndexesCurrent(data, kUid2));
    EXPECT_FALSE(AreIndexesCurrent(data, kUid1));
}

// The dictionary form by the first analysis of a word, as programs before the weighted choice
// formed their terms.
std::string FirstAnalysisForm(std::string_view word) {
    std::string form(word);
    MorphologyHolder::Instance().Use([&](const Lemmatizer* l) {
        std::vector<Analysis> analyses;
        if (l) l->Analyse(word, false, false, true, analyses);
        if (!analyses.empty()) form = l->NormalForm(analyses.front());
    });
    return form;
}

// A live lemmatizing index of the pages written with FirstAnalysisForm, stamped with the model
// identifier and the fingerprint such a program would have written.
void WriteFirstAnalysisIndex(IIndexFiles& files, const std::string& dir, const ModelUid& uid) {
    std::filesystem::remove_all(dir);
    lucene::analysis::standard::KsvLemmatizingAnalyzer analyzer(FirstAnalysisForm);
    lucene::index::IndexWriter writer(dir.c_str(), &analyzer, true);
    TextExtractor extractor;
    for (int32_t i = 0; i < files.GetCount(); ++i) {
        ASSERT_TRUE(extractor.Extract(platform::NativePath(files.GetFullPath(i))));
        const std::wstring name = platform::Utf16ToWide(files.GetName(i));
        lucene::document::Document doc;
        doc.add(*_CLNEW lucene::document::Field(L"text", extractor.GetText(), 33));
        doc.add(*_CLNEW lucene::document::Field(L"relPath", name.c_str(), 17));
        writer.addDocument(&doc);
    }
    writer.close();
    ASSERT_TRUE(WriteIndexIdentity(dir, uid));
    ASSERT_TRUE(WriteIndexFingerprint(dir,
                                      "lem: stop words 5b6a6f5c86c3e1c0; dictionaries "
                                      "d41d8cd98f00b204; choice first-analysis"));
}

TEST(IndexBuildTest, AnIndexBuiltWithOtherDictionaryFormsIsNotCurrentAndIsRebuilt) {
    if (!MorphologyHolder::Instance().Start()) GTEST_SKIP() << "no dictionaries linked";
    ScratchFolder dir;
    WriteFile(dir.File("kb/ships.htm"), Page("Ships", "Споры разрешаются судами."));
    WriteFile(dir.File("kb/court.htm"), Page("Court", "Суд вынес решение."));
    PageFiles files(dir.Path16() + u"/kb", {u"ships.htm", u"court.htm"});
    const std::u16string data = dir.Path16() + u"/data";
    RecordingControl control;
    BuildIndexes(files, data, kUid1, control);
    const IndexPaths lem = MakeIndexPaths(data, kIndexLemmatizing);
    EXPECT_EQ(ReadIndexFingerprint(lem.liveDir), AnalyzerFingerprint(kIndexLemmatizing));
    EXPECT_EQ(Find(data, kIndexLemmatizing, u"суд").size(), 2u);

    // The same pages indexed by a program that took СУДНО for судами.
    WriteFirstAnalysisIndex(files, lem.liveDir, kUid1);
    EXPECT_EQ(Find(data, kIndexLemmatizing, u"судами"),
              (std::vector<std::u16string>{u"court.htm"}));
    EXPECT_FALSE(IsIndexCurrent(data, kIndexLemmatizing, kUid1));
    EXPECT_TRUE(IsIndexCurrent(data, kIndexPrecise, kUid1));
    // Without any fingerprint, as before fingerprints were written, it is not current either.
    std::filesystem::remove(lem.fingerprintFile);
    EXPECT_FALSE(AreIndexesCurrent(data, kUid1));

    control.reports.clear();
    BuildIndexes(files, data, kUid1, control);
    ASSERT_FALSE(control.reports.empty());
    EXPECT_EQ(control.reports.back().current, 2);  // the lemmatizing kind alone was built
    EXPECT_TRUE(AreIndexesCurrent(data, kUid1));
    EXPECT_EQ(Find(data, kIndexLemmatizing, u"судами").size(), 2u);
}

TEST(IndexBuildTest, StopDuringIndexingKeepsTheOldIndexAndLeavesNoTemporaryFolder) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    Pages old(dir, 100);
    RecordingControl first;
    ASSERT_EQ(IndexBuilder(data, kIndexPrecise).Build(*old.files, kUid1, first),
              IndexBuildResult::kBuilt);
    Pages fresh(dir, 100, "fresh");
    RecordingControl control;
    control.stopWhen = [](const ExecProgress& p) { return p.current >= 50; };
    IndexBuilder builder(data, kIndexPrecise);
    EXPECT_EQ(builder.Build(*fresh.files, kUid2, control), IndexBuildResult::kAborted);
    EXPECT_EQ(control.last.current, 50);
    EXPECT_FALSE(std::filesystem::exists(builder.Paths().tempDir));
    EXPECT_TRUE(IsIndexCurrent(data, kIndexPrecise, kUid1));
    EXPECT_TRUE(Find(data, kIndexPrecise, u"fresh").empty());
    EXPECT_EQ(Find(data, kIndexPrecise, u"common").size(), 100u);
    EXPECT_EQ(ReadAll(builder.Paths().log), "Indexing started\r\nIndexing aborted\n\r\n");
}

TEST(IndexBuildTest, ASearcherHoldingTheLiveLockDelaysTheSwap) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    Pages pages(dir, 5);
    RecordingControl first;
    BuildIndexes(*pages.files, data, kUid1, first);
    Searcher reader(data, kIndexPrecise, false);
    ASSERT_TRUE(reader.HasIndex());
    RecordingControl control;
    int waits = 0;
    // Stop only after the builder has waited for the live lock a few times.
    control.stopWhen = [&](const ExecProgress& p) { return p.current == 5 && ++waits > 4; };
    IndexBuilder builder(data, kIndexPrecise);
    EXPECT_EQ(builder.Build(*pages.files, kUid2, control), IndexBuildResult::kNoLiveLock);
    EXPECT_EQ(ReadAll(builder.Paths().log),
              "Indexing started\r\nIndexing finished\r\nCannot get file lock\n\r\n");
    EXPECT_TRUE(IsIndexCurrent(data, kIndexPrecise, kUid1));
    EXPECT_TRUE(ReadIndexIdentity(builder.Paths().tempDir).has_value());  // the new index waits
    std::vector<std::u16string> paths;
    EXPECT_TRUE(reader.Search(u"common", paths));
    EXPECT_EQ(paths.size(), 5u);
}

// Page names that fail the way the index library does once `failAt` pages were named.
class FailingLibraryFiles final : public IIndexFiles {
public:
    FailingLibraryFiles(IIndexFiles& inner, int32_t failAt) : inner_(inner), failAt_(failAt) {}
    int32_t GetCount() override { return inner_.GetCount(); }
    const char16_t* GetFullPath(int32_t i) override { return inner_.GetFullPath(i); }
    const char16_t* GetName(int32_t i) override {
        if (i == failAt_) throw CLuceneError(CL_ERR_IO, "disk full", false);
        return inner_.GetName(i);
    }

private:
    IIndexFiles& inner_;
    int32_t failAt_;
};

// An error of the index library is written to the log with the folder it hit, and ends the
// whole build: the second kind is not tried, the old index stays, the locks are free again.
TEST(IndexBuildTest, ALibraryErrorIsLoggedAndEndsTheWholeBuild) {
    ScratchFolder dir;
    Pages pages(dir, 4);
    const std::u16string data = dir.Path16() + u"/data";
    std::filesystem::create_directories(platform::NativePath(data));  // made with the model
    RecordingControl control;
    FailingLibraryFiles failing(*pages.files, 2);
    const IndexPaths lem = MakeIndexPaths(data, kIndexLemmatizing);
    try {
        BuildIndexes(failing, data, kUid1, control);
        ADD_FAILURE() << "the failed build was not reported";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "can't build index " + lem.tempDir + ": disk full");
    }
    EXPECT_EQ(ReadAll(lem.log),
              "Indexing started\r\n" + lem.tempDir + ": index library error: disk full\r\n");
    EXPECT_EQ(GetIndexState(data, kIndexLemmatizing, kUid1), IndexState::kMissing);
    EXPECT_FALSE(std::filesystem::exists(MakeIndexPaths(data, kIndexPrecise).log));
    IndexLockFile temp(lem.tempLock, IndexLockFile::Mode::kExclusive);
    EXPECT_TRUE(temp.TryAcquire());
    temp.Release();
    // The next build clears what the failed one left and makes both kinds current.
    BuildIndexes(*pages.files, data, kUid1, control);
    EXPECT_EQ(GetIndexState(data, kIndexLemmatizing, kUid1), IndexState::kCurrent);
    EXPECT_EQ(GetIndexState(data, kIndexPrecise, kUid2), IndexState::kStale);
}

TEST(SearcherTest, ABuilderHoldingTheLiveLockBlocksTheSearch) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    Pages pages(dir, 2);
    RecordingControl control;
    BuildIndexes(*pages.files, data, kUid1, control);
    IndexLockFile builder(MakeIndexPaths(data, kIndexPrecise).liveLock,
                          IndexLockFile::Mode::kExclusive);
    ASSERT_TRUE(builder.TryAcquire());
    Searcher searcher(data, kIndexPrecise, false);
    EXPECT_FALSE(searcher.HasIndex());
    std::vector<std::u16string> paths;
    EXPECT_FALSE(searcher.Search(u"common", paths));
    EXPECT_TRUE(paths.empty());
    std::vector<int32_t> documents;
    EXPECT_EQ(searcher.SearchDocuments(u"common", documents), SearchOutcome::kBlocked);
    EXPECT_TRUE(documents.empty());
}

// The outcomes that are not hits are told apart, and a failure names what failed.
TEST(SearcherTest, OutcomesAndFailuresAreToldApart) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    std::filesystem::create_directories(platform::NativePath(data));  // made with the model
    try {
        Searcher missing(data, kIndexPrecise, false);
        ADD_FAILURE() << "a missing index opened";
    } catch (const SearchError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(
                      "can't open index " + MakeIndexPaths(data, kIndexPrecise).liveDir + ": ", 0),
                  0u)
            << e.what();
    }
    Pages pages(dir, 2);
    RecordingControl control;
    BuildIndexes(*pages.files, data, kUid1, control);
    std::vector<int32_t> documents;
    Searcher plain(data, kIndexPrecise, false);
    EXPECT_EQ(plain.SearchDocuments(u" \t", documents), SearchOutcome::kBlankQuery);
    EXPECT_EQ(plain.SearchDocuments(u"nowhere", documents), SearchOutcome::kSearched);
    EXPECT_TRUE(documents.empty());
    EXPECT_EQ(plain.SearchDocuments(u"common", documents), SearchOutcome::kSearched);
    EXPECT_EQ(documents.size(), 2u);
    Searcher language(data, kIndexPrecise, true);
    try {
        language.SearchDocuments(u"(common", documents);
        ADD_FAILURE() << "an unbalanced bracket parsed";
    } catch (const SearchError& e) {
        EXPECT_EQ(std::string(e.what()).rfind("can't parse query: ", 0), 0u) << e.what();
        EXPECT_EQ(std::string(e.what()).find('\n'), std::string::npos) << e.what();
    }
    try {
        language.SearchDocuments(u"\"заземление", documents);
        ADD_FAILURE() << "an unbalanced quote parsed";
    } catch (const SearchError& e) {
        // The library's words keep the query's letters.
        EXPECT_NE(std::string(e.what()).find("заземление"), std::string::npos) << e.what();
    }
}

TEST(SearcherTest, PlainAndQueryLanguageModes) {
    ScratchFolder dir;
    const std::u16string data = dir.Path16() + u"/data";
    Pages pages(dir, 4, "a+b");
    WriteFile(dir.File("kb/sub/p2.htm"), Page("Other", "title word alpha beta"));
    RecordingControl control;
    BuildIndexes(*pages.files, data, kUid1, control);
    // Plain: operators are text, a colon selects no field, stop words alone find nothing.
    EXPECT_EQ(Find(data, kIndexPrecise, u"title:word"),
              (std::vector<std::u16string>{u"sub\\p2.htm"}));
    EXPECT_EQ(Find(data, kIndexPrecise, u"-common").size(), 3u);
    EXPECT_TRUE(Find(data, kIndexPrecise, u"the and of").empty());
    // Query language.
    EXPECT_EQ(Find(data, kIndexPrecise, u"title:word", true),
              (std::vector<std::u16string>{u"sub\\p2.htm"}));
    EXPECT_EQ(Find(data, kIndexPrecise, u"\"alpha beta\"", true),
              (std::vector<std::u16string>{u"sub\\p2.htm"}));
    EXPECT_TRUE(Find(data, kIndexPrecise, u"\"beta alpha\"", true).empty());
    EXPECT_EQ(Find(data, kIndexPrecise, u"common AND -w0", true).size(), 2u);
    EXPECT_EQ(Find(data, kIndexPrecise, u"w0 OR w3", true).size(), 2u);
    EXPECT_EQ(Find(data, kIndexPrecise, u"alp*", true).size(), 1u);
    Searcher searcher(data, kIndexPrecise, true);
    std::vector<std::u16string> paths;
    EXPECT_THROW(searcher.Search(u"\"unbalanced", paths), SearchError);
}

}  // namespace
}  // namespace kestrova
