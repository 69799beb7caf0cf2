#include "exec/workers/internal/search_thread.h"

#include "exec/workers/tests/fakes.h"
#include "platform/path.h"

#include <gtest/gtest.h>

namespace kestrova {
namespace {

using testing::FakeEnv;
using testing::FakeModel;
using testing::FakeTopicSet;
using testing::RecordingClient;

class SearchThreadTest : public ::testing::Test {
protected:
    CountedPtr<FakeModel> Model(const char* name) {
        return MakeCounted<FakeModel>(name, &journal, &journalLock);
    }
    std::vector<std::string> Journal() {
        std::lock_guard lock(journalLock);
        return journal;
    }
    static std::u16string QueryOf(const CountedPtr<ITopicSet>& set) {
        return static_cast<FakeTopicSet*>(set.get())->query;
    }

    std::mutex journalLock;
    std::vector<std::string> journal;
    FakeEnv env{testing::UniqueFolder("search")};
    RecordingClient client, other;
};

TEST_F(SearchThreadTest, SearchOnAReadyIndexRunsWithoutABuild) {
    auto model = Model("m");
    model->indexReady = true;
    SearchThread search(env);
    search.PostSearch(&client, model, u"закон", kSearchRelatedWords);
    ASSERT_TRUE(client.resultCount.WaitFor(1));
    EXPECT_EQ(Journal(), std::vector<std::string>{"m: search закон 2"});
    EXPECT_EQ(QueryOf(client.Results().front()), u"закон");
    // The search reported its own progress to its client.
    ASSERT_FALSE(client.Progress().empty());
    EXPECT_EQ(client.Progress().front().stage, 4);
    EXPECT_EQ(search.PendingReindex(), nullptr);
}

TEST_F(SearchThreadTest, SearchOnAMissingIndexBuildsItFirstAndListensToTheBuild) {
    auto model = Model("m");
    SearchThread search(env);
    search.PostSearch(&client, model, u"a", 0);
    ASSERT_TRUE(client.resultCount.WaitFor(1));
    EXPECT_EQ(Journal(), (std::vector<std::string>{"m: build", "m: search a 0"}));
    auto progress = client.Progress();
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress[0].stage, 3);
    EXPECT_EQ(progress[1].current, 100);
    EXPECT_EQ(progress[1].total, 107);
    EXPECT_EQ(progress[2].stage, 4);
}

TEST_F(SearchThreadTest, TwoSearchesDuringABuildBothListenAndRunInOrderAfterIt) {
    auto model = Model("m");
    model->buildGate.Close();
    SearchThread search(env);
    search.PostReindex(model);
    ASSERT_TRUE(model->buildGate.entered.WaitFor(1));
    search.PostSearch(&client, model, u"first", 0);
    search.PostSearch(&other, model, u"second", 0);
    EXPECT_EQ(search.CurrentReindex()->Listeners(),
              (std::vector<ISearchClient_impl_*>{&client, &other}));
    EXPECT_EQ(search.PendingReindex(), nullptr);  // attached: no second build queued
    model->buildGate.Open();
    ASSERT_TRUE(other.resultCount.WaitFor(1));
    ASSERT_TRUE(client.resultCount.WaitFor(1));
    EXPECT_EQ(Journal(),
              (std::vector<std::string>{"m: build", "m: search first 0", "m: search second 0"}));
    for (RecordingClient* c : {&client, &other}) {
        auto progress = c->Progress();
        ASSERT_FALSE(progress.empty());
        EXPECT_EQ(progress.front().stage, 3);
        EXPECT_EQ(progress.front().current, 100);  // joined after the first report
    }
}

TEST_F(SearchThreadTest, NewReindexTakesOverTheListenersAndStopsTheRunningBuild) {
    auto old = Model("old");
    auto fresh = Model("fresh");
    old->buildGate.Close();
    SearchThread search(env);
    search.PostSearch(&client, old, u"q", 0);  // queues a build of old with the client
    ASSERT_TRUE(old->buildGate.entered.WaitFor(1));
    search.PostReindex(fresh);
    ASSERT_TRUE(old->buildGate.broken.WaitFor(1));  // told to stop at its next check
    ASSERT_TRUE(fresh->built.WaitFor(1));
    ASSERT_TRUE(client.resultCount.WaitFor(1));
    EXPECT_EQ(Journal(),
              (std::vector<std::string>{"old: build", "fresh: build", "old: search q 0"}));
    EXPECT_FALSE(old->indexReady.load());
    // The client heard the start of the old build and the whole of the new one.
    auto progress = client.Progress();
    ASSERT_GE(progress.size(), 3u);
    EXPECT_EQ(progress[1].current, 0);
    EXPECT_EQ(progress[2].current, 100);
}

TEST_F(SearchThreadTest, APendingBuildIsReplacedByANewerOne) {
    auto running = Model("running");
    auto replaced = Model("replaced");
    auto last = Model("last");
    running->buildGate.Close();
    SearchThread search(env);
    search.PostReindex(running);
    ASSERT_TRUE(running->buildGate.entered.WaitFor(1));
    search.PostReindex(replaced);
    search.PostReindex(last);
    ASSERT_TRUE(last->built.WaitFor(1));
    EXPECT_EQ(Journal(), (std::vector<std::string>{"running: build", "last: build"}));
}

TEST_F(SearchThreadTest, DetachedClientGetsNothingMoreAndItsSearchesStop) {
    auto model = Model("m");
    model->indexReady = true;
    model->searchGate.Close();
    SearchThread search(env);
    search.PostSearch(&client, model, u"running", 0);
    ASSERT_TRUE(model->searchGate.entered.WaitFor(1));
    search.PostSearch(&client, model, u"queued", 0);
    search.PostSearch(&other, model, u"other", 0);
    search.DetachClient(&client);
    EXPECT_EQ(search.QueuedSearches(), 1u);
    ASSERT_TRUE(model->searchGate.broken.WaitFor(1));  // the running one stops at its check
    model->searchGate.Open();
    ASSERT_TRUE(other.resultCount.WaitFor(1));
    EXPECT_TRUE(client.Results().empty());
    EXPECT_EQ(Journal(), (std::vector<std::string>{"m: search running 0", "m: search other 0"}));
}

TEST_F(SearchThreadTest, DetachedClientLeavesTheBuildItWaitsFor) {
    auto model = Model("m");
    model->buildGate.Close();
    SearchThread search(env);
    search.PostSearch(&client, model, u"q", 0);
    ASSERT_TRUE(model->buildGate.entered.WaitFor(1));
    search.DetachClient(&client);
    int heard = client.progressCount.Get();
    model->buildGate.Open();
    ASSERT_TRUE(model->built.WaitFor(1));
    search.PostSearch(&other, model, u"after", 0);
    ASSERT_TRUE(other.resultCount.WaitFor(1));
    EXPECT_EQ(client.progressCount.Get(), heard);
    EXPECT_TRUE(client.Results().empty());
    EXPECT_EQ(Journal(), (std::vector<std::string>{"m: build", "m: search after 0"}));
}

TEST_F(SearchThreadTest, FailedSearchDeliversNullWithItsReasonAndTheNextOneRuns) {
    auto model = Model("m");
    model->indexReady = true;
    SearchThread search(env);
    search.PostSearch(&client, model, u"fail", kSearchQueryLanguage);
    search.PostSearch(&client, model, u"ok", 0);
    search.PostSearch(&client, nullptr, u"no model", 0);
    ASSERT_TRUE(client.resultCount.WaitFor(3));
    auto results = client.Results();
    EXPECT_EQ(results[0], nullptr);
    ASSERT_NE(results[1], nullptr);
    EXPECT_EQ(QueryOf(results[1]), u"ok");
    EXPECT_EQ(results[2], nullptr);
    EXPECT_EQ(client.Reasons(),
              (std::vector<std::string>{"syntax error", "", "search: no model to search"}));
}

// A build that fails around the index builder (which logs its own failures) is told on
// standard error; the search that waited for it still runs.
TEST_F(SearchThreadTest, AFailedBuildIsReportedAndTheSearchBehindItRuns) {
    auto model = Model("m");
    model->failBuild = true;
    ::testing::internal::CaptureStderr();
    {
        SearchThread search(env);
        search.PostSearch(&client, model, u"q", 0);
        ASSERT_TRUE(client.resultCount.WaitFor(1));
    }
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(err, "kestrova: index build of " + platform::NativePath(env.GetPageFolder()) +
                       ": disk on fire\n");
    ASSERT_NE(client.Results().front(), nullptr);
    EXPECT_EQ(client.Reasons(), std::vector<std::string>{""});
}

TEST_F(SearchThreadTest, StopEndsABuildOrASearchInProgress) {
    {
        auto model = Model("m");
        model->buildGate.Close();
        SearchThread search(env);
        search.PostSearch(&client, model, u"q", 0);
        ASSERT_TRUE(model->buildGate.entered.WaitFor(1));
        search.RequestStop();
        search.Join();
        EXPECT_EQ(model->buildGate.broken.Get(), 1);
        EXPECT_TRUE(client.Results().empty());  // the queued search never ran
    }
    {
        auto model = Model("m");
        model->indexReady = true;
        model->searchGate.Close();
        SearchThread search(env);
        search.PostSearch(&other, model, u"q", 0);
        ASSERT_TRUE(model->searchGate.entered.WaitFor(1));
        search.RequestStop();
        search.Join();
        EXPECT_EQ(model->searchGate.broken.Get(), 1);
        // A search cancelled by the stop comes without a reason, if it comes at all.
        for (const std::string& reason : other.Reasons()) EXPECT_EQ(reason, "");
    }
}

TEST_F(SearchThreadTest, ReleasesEveryRequestItHeld) {
    auto model = Model("m");
    model->buildGate.Close();
    {
        SearchThread search(env);
        search.PostSearch(&client, model, u"q", 0);
        ASSERT_TRUE(model->buildGate.entered.WaitFor(1));
        search.PostReindex(model);
        search.PostSearch(&other, model, u"r", 0);
    }  // stopped and destroyed with a build running, one pending and two searches queued
    EXPECT_EQ(model->RefCount(), 1);
}

}  // namespace
}  // namespace kestrova
