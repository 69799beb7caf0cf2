#include "exec/workers/model_env_client.h"

#include "exec/workers/tests/fakes.h"

#include <gtest/gtest.h>

#include <deque>

namespace kestrova {
namespace {

using testing::FakeModel;
using testing::Gate;

// Loads hand out the scripted outcomes in order; an empty script fails the load.
struct Script {
    std::mutex mutex;
    std::deque<ModelLoadOutcome> outcomes;
    ModelLoadFn Fn() {
        return [this](const std::u16string&, IExecControl&, NamedLockSet&, bool) {
            std::lock_guard lock(mutex);
            if (outcomes.empty()) throw std::runtime_error("no knowledge base");
            ModelLoadOutcome next = outcomes.front();
            outcomes.pop_front();
            return next;
        };
    }
};

class ModelEnvClientTest : public ::testing::Test {
protected:
    Script script;
    ModelEnvRegistry registry{script.Fn()};
    std::u16string folder = testing::UniqueFolder("client");
};

TEST_F(ModelEnvClientTest, WaitsForTheRebuiltModelAfterAnOutdatedCache) {
    auto cached = MakeCounted<FakeModel>("cached");
    cached->outdated = true;
    auto rebuilt = MakeCounted<FakeModel>("rebuilt");
    script.outcomes = {{cached, false}, {rebuilt, true}};
    ModelEnvClient client(registry, folder);
    client.SetTick(std::chrono::milliseconds(4));
    EXPECT_EQ(client.WaitForModel().get(), rebuilt.get());
    EXPECT_EQ(registry.UserCount(), 1);
}

TEST_F(ModelEnvClientTest, FailedLoadGivesNoModel) {
    ModelEnvClient client(registry, folder);
    client.SetTick(std::chrono::milliseconds(4));
    EXPECT_EQ(client.WaitForModel(), nullptr);
}

TEST_F(ModelEnvClientTest, SearchWaitsForTheBuildAndShowsItsProgress) {
    auto model = MakeCounted<FakeModel>("m");
    script.outcomes = {{model, false}};
    model->buildGate.Close();
    {
        ModelEnvClient client(registry, folder);
        client.SetTick(std::chrono::milliseconds(4));
        CountedPtr<IModel> loaded = client.WaitForModel();
        ASSERT_EQ(loaded.get(), model.get());
        std::vector<int32_t> stages;
        // The build waits at its gate until the waiting side has seen its progress.
        CountedPtr<ITopicSet> result = client.Search(loaded, u"q", 0, [&](const ExecProgress& p) {
            if (stages.empty() || stages.back() != p.stage) stages.push_back(p.stage);
            if (p.stage == 3) model->buildGate.Open();
        });
        ASSERT_NE(result, nullptr);
        EXPECT_NE(std::find(stages.begin(), stages.end(), 3), stages.end());
        EXPECT_TRUE(model->indexReady.load());
        EXPECT_EQ(client.SearchFailure(), "");
        EXPECT_EQ(client.Search(loaded, u"fail", kSearchQueryLanguage), nullptr);
        EXPECT_EQ(client.SearchFailure(), "syntax error");
        EXPECT_NE(client.Search(loaded, u"again", 0), nullptr);
        EXPECT_EQ(client.SearchFailure(), "");
    }
    EXPECT_EQ(registry.UserCount(), 0);
    EXPECT_EQ(registry.EnvironmentCount(), 0u);
    EXPECT_EQ(model->RefCount(), 1);  // only ours is left
}

}  // namespace
}  // namespace kestrova
