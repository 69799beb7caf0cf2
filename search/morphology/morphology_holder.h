// The process-wide lemmatizer: created on first use from the dictionary resources, guarded by
// one lock taken for every word. When creation fails, morphology stays off for the rest of
// the process and every dictionary form is the word itself. Thread safe.
#pragma once

#include "search/morphology/dict_resources.h"
#include "search/morphology/lemmatizer.h"
#include "search/morphology/mem_file_registry.h"

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova {

class MorphologyHolder {
public:
    // The holder of the process, over the program's own resources.
    static MorphologyHolder& Instance();

    // A holder that registers the dictionary resources found by `finder` into `registry`
    // (which must outlive it) when it first starts.
    MorphologyHolder(MemFileRegistry& registry, ResourceFinder finder);
    ~MorphologyHolder();
    MorphologyHolder(const MorphologyHolder&) = delete;
    MorphologyHolder& operator=(const MorphologyHolder&) = delete;

    // The dictionary form of a word in code page 1251: the normal form of its chosen analysis
    // (the word itself without morphology).
    std::string DictionaryForm(std::string_view word);
    // Runs `use` under the lock with the started lemmatizer, or with null when it failed.
    void Use(const std::function<void(const Lemmatizer*)>& use);

    // Starts the lemmatizer now if it was not tried yet; true when it is ready.
    bool Start();
    // Why start-up failed ("" when it did not, or was not tried).
    std::string FailureMessage();

private:
    const Lemmatizer* Ensure();  // REQUIRES: mutex_ held
    void Create();               // REQUIRES: mutex_ held

    std::mutex mutex_;
    MemFileRegistry& registry_;
    ResourceFinder finder_;
    std::unique_ptr<Lemmatizer> lemmatizer_;  // GUARDED_BY(mutex_)
    bool failed_ = false;                     // GUARDED_BY(mutex_)
    std::string failure_;                     // GUARDED_BY(mutex_)
    std::vector<Analysis> scratch_;           // GUARDED_BY(mutex_)
};

// Which analysis of a word gives its dictionary form: the first of those with the greatest
// weight in the lemmatizer's statistics, so the first one when no weights tell them apart.
// REQUIRES: `analyses` is not empty.
std::size_t ChosenAnalysis(const Lemmatizer& lemmatizer, const std::vector<Analysis>& analyses);

// The dictionary form of a word in code page 1251, by the process-wide holder.
std::string GetDictionaryForm(std::string_view word);
// The dictionary form of a wide word: converted to code page 1251 ("?" for what it cannot
// hold), looked up, and converted back.
std::u16string GetDictionaryForm(std::u16string_view word);

}  // namespace kestrova
