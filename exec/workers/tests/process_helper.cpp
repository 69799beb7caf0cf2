// The other processes of the cross-process search tests. Runs a search thread on FOLDER:
//   process_helper search FOLDER MARKER COUNT   COUNT searches, one after the other
//   process_helper build FOLDER MARKER COUNT    COUNT index builds, one after the other
// A build creates the file MARKER while it runs and removes it at its end; a search that
// finds MARKER present ran during a build of another process. Prints "ok N" with the
// number of results that arrived, or "overlap" when a search saw a build, then exits.
#include "exec/workers/internal/search_thread.h"
#include "exec/workers/tests/fakes.h"
#include "platform/path.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using namespace kestrova;

class MarkerModel : public testing::FakeModel {
public:
    explicit MarkerModel(std::filesystem::path marker)
        : FakeModel("m"), marker_(std::move(marker)) {
        indexReady = true;
    }
    CountedPtr<ITopicSet> FindTopics(const char16_t* query, uint32_t, IExecControl&) override {
        if (std::filesystem::exists(marker_)) overlap = true;
        return MakeCounted<testing::FakeTopicSet>(query);
    }
    void BuildIndex(IExecControl& control) override {
        std::ofstream(marker_) << "building\n";
        // Some work with checks, as a real build has; its length only makes overlaps likelier.
        for (int step = 0; step < 20 && !control.ShouldBreak(); ++step) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        std::filesystem::remove(marker_);
        built.Add();
    }
    std::atomic<bool> overlap{false};

private:
    std::filesystem::path marker_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) return 2;
    std::string mode = argv[1];
    std::string folder = argv[2];
    testing::FakeEnv env(platform::PathFromNative(folder));
    auto model = MakeCounted<MarkerModel>(argv[3]);
    int count = std::atoi(argv[4]);
    testing::RecordingClient client;
    int delivered = 0;
    {
        SearchThread search(env);
        for (int i = 0; i < count; ++i) {
            if (mode == "build") {
                search.PostReindex(model);
                if (!model->built.WaitFor(i + 1)) break;
                ++delivered;
            } else {
                search.PostSearch(&client, model, u"q", 0);
                if (!client.resultCount.WaitFor(i + 1)) break;
            }
        }
    }
    if (mode != "build") {
        for (const auto& result : client.Results()) delivered += result ? 1 : 0;
    }
    std::printf("%s %d\n", model->overlap ? "overlap" : "ok", delivered);
    return 0;
}
