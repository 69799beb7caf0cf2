#pragma once
// Test doubles for the worker-thread tests: a model whose index build and search can be held
// at a gate, clients and subscribers that record what they receive, and a counter to wait on.
// Every wait has a generous limit only so that a broken build fails instead of hanging.

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "exec/workers/internal/model_env.h"
#include "exec/workers/search_client.h"
#include "model/model.h"
#include "model/topic.h"
#include "platform/codepage.h"
#include "platform/event.h"
#include "platform/path.h"

#include <unistd.h>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

namespace kestrova::testing {

inline constexpr std::chrono::seconds kPatience{20};

// A count that threads raise and tests wait for.
class Counter {
public:
    void Add() {
        std::lock_guard lock(mutex_);
        ++count_;
        changed_.notify_all();
    }
    int Get() {
        std::lock_guard lock(mutex_);
        return count_;
    }
    // True once the count has reached `target`.
    bool WaitFor(int target) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, kPatience, [&] { return count_ >= target; });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    int count_ = 0;
};

// Holds work until it is opened or the work's control asks to stop; the work checks its
// control the way real builds do, once per step.
class Gate {
public:
    void Open() { open_.Set(); }
    void Close() { open_.Reset(); }
    // Throws BreakExec when the control asks to stop before the gate opens.
    void Pass(IExecControl& control) {
        entered.Add();
        while (!open_.WaitFor(std::chrono::milliseconds(2))) {
            if (control.ShouldBreak()) {
                broken.Add();
                throw BreakExec();
            }
        }
    }
    Counter entered;
    Counter broken;

private:
    platform::ManualResetEvent open_{true};
};

class FakeTopicSet : public ITopicSet {
public:
    explicit FakeTopicSet(std::u16string query) : query(std::move(query)) {}
    int32_t GetCount() override { return 0; }
    ITopic* GetItem(int32_t) override { return nullptr; }
    IURLProvider* GetURLProvider() override { return nullptr; }
    TopicSortOrder GetSortOrder() override { return {}; }
    bool Sort(const TopicSortOrder&) override { return false; }
    const std::u16string query;
};

// A model that records its index builds and searches, in one shared journal.
class FakeModel : public IModel {
public:
    explicit FakeModel(std::string name, std::vector<std::string>* journal = nullptr,
                       std::mutex* journalLock = nullptr)
        : name(std::move(name)), journal_(journal), journalLock_(journalLock) {}

    IDomainList* GetDomainList() override { return nullptr; }
    IContent* GetContent() override { return nullptr; }
    IKeywordList* GetKeywordList() override { return nullptr; }
    IURLProvider* GetURLProvider() override { return nullptr; }
    ITopic* FindTopicByHelpId(const char16_t*) override { return nullptr; }
    void GetModelInfo(ModelInfo&) override {}
    void ExportXml(const char16_t*) override {}

    CountedPtr<ITopicSet> FindTopics(const char16_t* query, uint32_t options,
                                     IExecControl& control) override {
        Note("search " + platform::Utf16ToUtf8(query) + " " + std::to_string(options));
        control.ReportProgress({4, -1, -1});
        searchGate.Pass(control);
        if (std::u16string(query) == u"fail") throw std::runtime_error("syntax error");
        return MakeCounted<FakeTopicSet>(query);
    }
    bool IsIndexReady() override { return indexReady.load(); }
    void BuildIndex(IExecControl& control) override {
        Note("build");
        control.ReportProgress({3, 0, 107});
        buildGate.Pass(control);
        if (failBuild) throw std::runtime_error("disk on fire");
        control.ReportProgress({3, 100, 107});
        indexReady = true;
        built.Add();
    }
    bool IsOutdated(IExecControl&) override { return outdated.load(); }

    const std::string name;
    std::atomic<bool> indexReady{false};
    std::atomic<bool> outdated{false};
    std::atomic<bool> failBuild{false};
    Gate buildGate;
    Gate searchGate;
    Counter built;

private:
    void Note(const std::string& what) {
        if (!journal_) return;
        std::lock_guard lock(*journalLock_);
        journal_->push_back(name + ": " + what);
    }
    std::vector<std::string>* journal_;
    std::mutex* journalLock_;
};

// Records every callback of the search thread; each result with the failure reason that came
// just before it (empty when none did).
class RecordingClient : public ISearchClient_impl_ {
public:
    void OnSearchFailed(const std::string& reason) override {
        std::lock_guard lock(mutex_);
        pendingReason_ = reason;
    }
    void OnSearchProgress(const ExecProgress& progress) override {
        std::lock_guard lock(mutex_);
        progress_.push_back(progress);
        progressCount.Add();
    }
    void OnSearchResult(CountedPtr<ITopicSet> result) override {
        {
            std::lock_guard lock(mutex_);
            results_.push_back(result);
            reasons_.push_back(std::exchange(pendingReason_, std::string()));
        }
        resultCount.Add();
    }
    std::vector<ExecProgress> Progress() {
        std::lock_guard lock(mutex_);
        return progress_;
    }
    std::vector<CountedPtr<ITopicSet>> Results() {
        std::lock_guard lock(mutex_);
        return results_;
    }
    std::vector<std::string> Reasons() {
        std::lock_guard lock(mutex_);
        return reasons_;
    }
    Counter progressCount;
    Counter resultCount;

private:
    std::mutex mutex_;
    std::vector<ExecProgress> progress_;
    std::vector<CountedPtr<ITopicSet>> results_;
    std::vector<std::string> reasons_;
    std::string pendingReason_;
};

// Records every model it is handed, and on which thread.
class RecordingSubscriber : public IModelSubsriber_impl_ {
public:
    void OnModel(CountedPtr<IModel> model) override {
        {
            std::lock_guard lock(mutex_);
            models_.push_back(model);
            threads_.push_back(std::this_thread::get_id());
        }
        calls.Add();
    }
    std::vector<CountedPtr<IModel>> Models() {
        std::lock_guard lock(mutex_);
        return models_;
    }
    std::vector<std::thread::id> Threads() {
        std::lock_guard lock(mutex_);
        return threads_;
    }
    Counter calls;

private:
    std::mutex mutex_;
    std::vector<CountedPtr<IModel>> models_;
    std::vector<std::thread::id> threads_;
};

// An environment for a thread under test: a folder of its own and the reindex requests.
class FakeEnv : public IModelEnv_impl_ {
public:
    explicit FakeEnv(std::u16string folder) : folder_(std::move(folder)) {}
    const std::u16string& GetPageFolder() const override { return folder_; }
    void RequestReindex(CountedPtr<IModel> model) override {
        {
            std::lock_guard lock(mutex_);
            reindexed_.push_back(model);
        }
        reindexCount.Add();
    }
    std::vector<CountedPtr<IModel>> Reindexed() {
        std::lock_guard lock(mutex_);
        return reindexed_;
    }
    Counter reindexCount;

private:
    std::u16string folder_;
    std::mutex mutex_;
    std::vector<CountedPtr<IModel>> reindexed_;
};

// A page folder path of its own per test, so that tests never share named mutexes.
inline std::u16string UniqueFolder(const char* name) {
    static std::atomic<int> serial{0};
    std::string path = "/kestrova-workers-test/" + std::to_string(::getpid()) + "/" + name + "-" +
                       std::to_string(serial.fetch_add(1));
    return platform::PathFromNative(path);
}

}  // namespace kestrova::testing
