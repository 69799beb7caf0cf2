#include "exec/workers/model_env_registry.h"

#include "exec/workers/tests/fakes.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace kestrova {
namespace {

using testing::Counter;
using testing::FakeModel;
using testing::Gate;
using testing::RecordingClient;
using testing::RecordingSubscriber;

// Loads give one model per folder, built from the pages the first time; the gate holds loads.
struct FolderLoads {
    std::mutex mutex;
    std::map<std::u16string, CountedPtr<FakeModel>> models;
    std::vector<std::u16string> folders;
    Gate gate;
    Counter calls;

    ModelLoadFn Fn() {
        return [this](const std::u16string& folder, IExecControl& control, NamedLockSet&, bool) {
            calls.Add();
            gate.Pass(control);
            std::lock_guard lock(mutex);
            folders.push_back(folder);
            auto& model = models[folder];
            bool rebuilt = !model;
            if (!model) model = MakeCounted<FakeModel>("model");
            return ModelLoadOutcome{model, rebuilt};
        };
    }
    CountedPtr<FakeModel> ModelOf(const std::u16string& folder) {
        std::lock_guard lock(mutex);
        return models[folder];
    }
};

class ModelEnvRegistryTest : public ::testing::Test {
protected:
    FolderLoads loads;
    ModelEnvRegistry registry{loads.Fn()};
    std::u16string folder = testing::UniqueFolder("registry");
};

TEST_F(ModelEnvRegistryTest, SpellingsOfOneFolderShareOneEnvironmentButCaseDoesNot) {
    registry.AddUser();
    RecordingSubscriber a, b, c;
    registry.Subscribe(folder, &a);
    registry.Subscribe(folder + u"/", &b);
    registry.Subscribe(folder + u"/sub/../.", &b);
    EXPECT_EQ(registry.EnvironmentCount(), 1u);
    std::u16string upper = folder;
    for (char16_t& ch : upper) ch = ch >= u'a' && ch <= u'z' ? ch - u'a' + u'A' : ch;
    registry.Subscribe(upper, &c);
    EXPECT_EQ(registry.EnvironmentCount(), 2u);
    EXPECT_EQ(registry.FindOrCreate(folder).get(), registry.FindOrCreate(folder + u"//").get());
    registry.RemoveUser();
}

TEST_F(ModelEnvRegistryTest, SecondWindowGetsTheModelWithoutASecondLoad) {
    registry.AddUser();
    RecordingSubscriber first, second;
    registry.Subscribe(folder, &first);
    registry.RequestModel(folder);
    ASSERT_TRUE(first.calls.WaitFor(1));
    registry.AddUser();
    registry.Subscribe(folder, &second);
    registry.RequestModel(folder);
    EXPECT_EQ(second.calls.Get(), 1);
    EXPECT_EQ(first.calls.Get(), 2);  // every subscriber is told again
    EXPECT_EQ(second.Models().front().get(), first.Models().front().get());
    EXPECT_EQ(loads.calls.Get(), 1);
    // The first window closes: the environment stays for the second.
    registry.Unsubscribe(folder, &first);
    registry.RemoveUser();
    EXPECT_EQ(registry.EnvironmentCount(), 1u);
    registry.RequestModel(folder);
    EXPECT_EQ(second.calls.Get(), 2);
    EXPECT_EQ(first.calls.Get(), 2);
    registry.RemoveUser();
    EXPECT_EQ(registry.EnvironmentCount(), 0u);
}

TEST_F(ModelEnvRegistryTest, ModelBuiltFromThePagesIsIndexedAndSearched) {
    registry.AddUser();
    RecordingSubscriber window;
    RecordingClient client;
    registry.Subscribe(folder, &window);
    registry.RequestModel(folder);
    ASSERT_TRUE(window.calls.WaitFor(1));
    CountedPtr<IModel> model = window.Models().front();
    ASSERT_TRUE(loads.ModelOf(registry.FindOrCreate(folder)->GetPageFolder())
                    ->built.WaitFor(1));  // the loader asked for it
    registry.PostSearch(folder, &client, model, u"слово", kSearchRelatedWords);
    ASSERT_TRUE(client.resultCount.WaitFor(1));
    ASSERT_NE(client.Results().front(), nullptr);
    registry.DetachClient(folder, &client);
    registry.Unsubscribe(folder, &window);
    registry.RemoveUser();
}

TEST_F(ModelEnvRegistryTest, LastRemoveUserStopsLoadsBuildsAndSearchesInProgress) {
    registry.AddUser();
    // One folder held in its load, another in an index build, a third in a search.
    std::u16string loading = folder + u"-load", building = folder + u"-build",
                   searching = folder + u"-search";
    RecordingSubscriber subscriber;
    RecordingClient client;
    loads.gate.Close();
    registry.Subscribe(loading, &subscriber);
    registry.RequestModel(loading);
    ASSERT_TRUE(loads.gate.entered.WaitFor(1));
    auto unbuilt = MakeCounted<FakeModel>("unbuilt");
    unbuilt->buildGate.Close();
    registry.PostSearch(building, &client, unbuilt, u"q", 0);
    ASSERT_TRUE(unbuilt->buildGate.entered.WaitFor(1));
    auto ready = MakeCounted<FakeModel>("ready");
    ready->indexReady = true;
    ready->searchGate.Close();
    registry.PostSearch(searching, &client, ready, u"q", 0);
    ASSERT_TRUE(ready->searchGate.entered.WaitFor(1));
    EXPECT_TRUE(registry.IsLoading(loading));

    registry.RemoveUser();  // waits for every thread to end
    EXPECT_EQ(registry.EnvironmentCount(), 0u);
    EXPECT_EQ(loads.gate.broken.Get(), 1);
    EXPECT_EQ(unbuilt->buildGate.broken.Get(), 1);
    EXPECT_EQ(ready->searchGate.broken.Get(), 1);
    EXPECT_EQ(subscriber.calls.Get(), 0);
    // The cancelled search tells its client that it failed; the build told nothing.
    EXPECT_EQ(client.Results(), std::vector<CountedPtr<ITopicSet>>{nullptr});
    EXPECT_EQ(unbuilt->RefCount(), 1);  // the requests are gone with their threads
    EXPECT_EQ(ready->RefCount(), 1);
}

TEST_F(ModelEnvRegistryTest, EntryPointsNeedAUserAndANewUserStartsAfresh) {
    RecordingSubscriber subscriber;
    EXPECT_THROW(registry.Subscribe(folder, &subscriber), std::logic_error);
    registry.RemoveUser();  // unbalanced: ignored, the count stays at 0
    EXPECT_EQ(registry.UserCount(), 0);
    registry.AddUser();
    registry.Subscribe(folder, &subscriber);
    registry.RequestModel(folder);
    ASSERT_TRUE(subscriber.calls.WaitFor(1));
    registry.RemoveUser();
    EXPECT_THROW(registry.RequestModel(folder), std::logic_error);
    // A new session of windows gets a new environment, which loads again.
    registry.AddUser();
    RecordingSubscriber later;
    registry.Subscribe(folder, &later);
    registry.RequestModel(folder);
    ASSERT_TRUE(later.calls.WaitFor(1));
    EXPECT_EQ(loads.calls.Get(), 2);
    registry.RemoveUser();
}

}  // namespace
}  // namespace kestrova
