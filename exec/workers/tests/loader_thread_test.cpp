#include "exec/workers/internal/loader_thread.h"

#include "exec/workers/tests/fakes.h"

#include <gtest/gtest.h>

#include <deque>

namespace kestrova {
namespace {

using testing::Counter;
using testing::FakeEnv;
using testing::FakeModel;
using testing::Gate;
using testing::RecordingSubscriber;

// A load function that hands out prepared outcomes in order and records how it was called.
// Its gate holds a load in progress, the way a long scan would, until opened or stopped.
struct ScriptedLoads {
    std::mutex mutex;
    std::deque<ModelLoadOutcome> outcomes;
    std::vector<bool> forced;
    std::vector<std::u16string> folders;
    Gate gate;
    Counter calls;

    void Add(CountedPtr<IModel> model, bool rebuilt) {
        std::lock_guard lock(mutex);
        outcomes.push_back({std::move(model), rebuilt});
    }
    std::vector<bool> Forced() {
        std::lock_guard lock(mutex);
        return forced;
    }
    ModelLoadFn Fn() {
        return [this](const std::u16string& folder, IExecControl& control, NamedLockSet& locks,
                      bool force) {
            EXPECT_EQ(locks.Count(), 4);
            {
                std::lock_guard lock(mutex);
                forced.push_back(force);
                folders.push_back(folder);
            }
            calls.Add();
            gate.Pass(control);
            std::lock_guard lock(mutex);
            if (outcomes.empty()) throw std::runtime_error("no outcome scripted");
            ModelLoadOutcome next = outcomes.front();
            outcomes.pop_front();
            return next;
        };
    }
};

class LoaderThreadTest : public ::testing::Test {
protected:
    FakeEnv env{testing::UniqueFolder("loader")};
    ScriptedLoads loads;
    RecordingSubscriber first, second;
};

TEST_F(LoaderThreadTest, CachedModelIsPublishedOnceAndNotReindexed) {
    auto model = MakeCounted<FakeModel>("cached");
    loads.Add(model, false);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Subscribe(&second);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(first.calls.WaitFor(1));
    ASSERT_TRUE(second.calls.WaitFor(1));
    loader.RequestStop();
    loader.Join();
    EXPECT_EQ(first.Models().front().get(), model.get());
    EXPECT_EQ(loads.Forced(), std::vector<bool>{false});
    EXPECT_EQ(loads.folders.front(), env.GetPageFolder());
    EXPECT_TRUE(env.Reindexed().empty());
    EXPECT_EQ(loader.CurrentModel().get(), model.get());
}

TEST_F(LoaderThreadTest, ModelBuiltFromThePagesIsReindexed) {
    auto model = MakeCounted<FakeModel>("built");
    loads.Add(model, true);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(env.reindexCount.WaitFor(1));
    EXPECT_EQ(env.Reindexed().front().get(), model.get());
    EXPECT_EQ(first.calls.Get(), 1);  // published before the reindex is asked for
}

TEST_F(LoaderThreadTest, OutdatedCacheGivesTheCachedThenTheRebuiltModel) {
    auto cached = MakeCounted<FakeModel>("cached");
    cached->outdated = true;
    auto rebuilt = MakeCounted<FakeModel>("rebuilt");
    loads.Add(cached, false);
    loads.Add(rebuilt, true);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(env.reindexCount.WaitFor(1));
    ASSERT_TRUE(first.calls.WaitFor(2));
    auto models = first.Models();
    ASSERT_EQ(models.size(), 2u);
    EXPECT_EQ(models[0].get(), cached.get());
    EXPECT_EQ(models[1].get(), rebuilt.get());
    EXPECT_EQ(loads.Forced(), (std::vector<bool>{false, true}));
    EXPECT_EQ(env.Reindexed().front().get(), rebuilt.get());
    EXPECT_EQ(loader.CurrentModel().get(), rebuilt.get());
}

TEST_F(LoaderThreadTest, NullModelIsPublishedAndAsksForNoIndex) {
    loads.Add(nullptr, true);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(first.calls.WaitFor(1));
    EXPECT_EQ(first.Models().front(), nullptr);
    // The null model is not current: the next request loads again.
    auto model = MakeCounted<FakeModel>("second try");
    loads.Add(model, false);
    loader.RequestModel();
    ASSERT_TRUE(first.calls.WaitFor(2));
    EXPECT_EQ(first.Models().back().get(), model.get());
    EXPECT_TRUE(env.Reindexed().empty());
}

TEST_F(LoaderThreadTest, FailedLoadIsSwallowedAndTheThreadGoesOn) {
    LoaderThread loader(env, loads.Fn());  // nothing scripted: the load throws
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(loads.calls.WaitFor(1));
    auto model = MakeCounted<FakeModel>("after failure");
    loads.Add(model, false);
    loader.RequestModel();
    ASSERT_TRUE(first.calls.WaitFor(1));
    EXPECT_EQ(first.Models().front().get(), model.get());
    EXPECT_EQ(first.calls.Get(), 1);  // the failed load published nothing
}

TEST_F(LoaderThreadTest, WithoutAModelTheLastPostWinsAndLoadReplacesAPendingReload) {
    loads.gate.Close();
    auto a = MakeCounted<FakeModel>("a");
    auto b = MakeCounted<FakeModel>("b");
    loads.Add(a, false);
    loads.Add(b, false);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(loads.gate.entered.WaitFor(1));  // the first load is held in progress
    EXPECT_TRUE(loader.IsLoading());
    loader.RequestReload();
    loader.RequestModel();  // still no current model: posts a load over the reload
    loads.gate.Open();
    ASSERT_TRUE(first.calls.WaitFor(2));
    EXPECT_EQ(loads.Forced(), (std::vector<bool>{false, false}));
}

TEST_F(LoaderThreadTest, WithAModelRequestModelAnswersAtOnceAndTheReloadStaysPending) {
    auto a = MakeCounted<FakeModel>("a");
    auto b = MakeCounted<FakeModel>("b");
    auto c = MakeCounted<FakeModel>("c");
    loads.Add(a, false);
    loads.Add(b, false);
    loads.Add(c, true);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(first.calls.WaitFor(1));
    // Hold a second load (a cached model that is not outdated) in progress.
    loads.gate.Close();
    loader.RequestReload();
    ASSERT_TRUE(loads.gate.entered.WaitFor(2));
    loader.RequestReload();
    loader.Subscribe(&second);
    loader.RequestModel();  // the current model goes to every subscriber on this thread
    EXPECT_EQ(first.calls.Get(), 2);
    EXPECT_EQ(second.calls.Get(), 1);
    EXPECT_EQ(second.Threads().front(), std::this_thread::get_id());
    EXPECT_EQ(second.Models().front().get(), a.get());
    loads.gate.Open();
    ASSERT_TRUE(env.reindexCount.WaitFor(2));
    EXPECT_EQ(loads.Forced(), (std::vector<bool>{false, true, true}));
    EXPECT_EQ(second.Models().back().get(), c.get());
}

TEST_F(LoaderThreadTest, SubscriptionsAreCounted) {
    auto a = MakeCounted<FakeModel>("a");
    loads.Add(a, false);
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Subscribe(&first);
    loader.Subscribe(&second);
    loader.Unsubscribe(&first);
    loader.Unsubscribe(&second);
    loader.Unsubscribe(&second);  // not subscribed any more: ignored
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(first.calls.WaitFor(1));
    loader.RequestModel();  // runs here: a second call, none for the unsubscribed one
    EXPECT_EQ(first.calls.Get(), 2);
    EXPECT_EQ(second.calls.Get(), 0);
}

TEST_F(LoaderThreadTest, StopEndsALoadInProgress) {
    loads.gate.Close();
    LoaderThread loader(env, loads.Fn());
    loader.Subscribe(&first);
    loader.Start();
    loader.RequestModel();
    ASSERT_TRUE(loads.gate.entered.WaitFor(1));
    loader.RequestStop();
    loader.Join();
    EXPECT_EQ(loads.gate.broken.Get(), 1);
    EXPECT_EQ(first.calls.Get(), 0);  // a cancelled load delivers nothing
    EXPECT_EQ(loader.ExitCode(), 0);
}

TEST_F(LoaderThreadTest, StopBeforeStartEndsTheThreadAtOnce) {
    LoaderThread loader(env, loads.Fn());
    loader.RequestModel();
    loader.RequestStop();
    loader.Start();
    loader.Join();
    EXPECT_EQ(loads.calls.Get(), 0);
    EXPECT_EQ(loader.ExitCode(), 0);
}

}  // namespace
}  // namespace kestrova
