#include "search/morphology/morphology_holder.h"

#include "platform/codepage.h"

#include <algorithm>
#include <stdexcept>

namespace kestrova {
namespace {

constexpr const char* kDictFolder = "Rus/";
constexpr const char* kGramtabFile = "rgramtab.tab";

}  // namespace

MorphologyHolder& MorphologyHolder::Instance() {
    static MorphologyHolder holder(MemFileRegistry::Instance(), FindModuleResource);
    return holder;
}

MorphologyHolder::MorphologyHolder(MemFileRegistry& registry, ResourceFinder finder)
    : registry_(registry), finder_(std::move(finder)) {}

MorphologyHolder::~MorphologyHolder() = default;

void MorphologyHolder::Create() {
    RegisterDictResources(registry_, finder_);
    auto open = [this](const std::string& name, const char* mode) -> std::unique_ptr<MemFile> {
        if (!registry_.Contains(name)) return nullptr;
        return registry_.Open(name, mode);
    };
    auto paths = [](std::string_view key) -> std::string {
        if (key == Lemmatizer::kDictFolderKey) return kDictFolder;
        if (key == Lemmatizer::kGramtabKey) return kGramtabFile;
        throw std::runtime_error("unknown registry path");
    };
    auto lemmatizer = std::make_unique<Lemmatizer>(open, paths);
    std::string message;
    if (!lemmatizer->LoadDictionary(message))
        throw std::runtime_error("cannot load dict: " + message);
    if (!lemmatizer->LoadStatistics('c')) throw std::runtime_error("cannot load statistics");
    if (!lemmatizer->LoadGramtab()) throw std::runtime_error("Cannot load gramtab");
    lemmatizer_ = std::move(lemmatizer);
}

const Lemmatizer* MorphologyHolder::Ensure() {
    if (failed_) return nullptr;
    if (lemmatizer_) return lemmatizer_.get();
    try {
        Create();
    } catch (const std::exception& e) {
        failed_ = true;
        failure_ = e.what();
    }
    return lemmatizer_.get();
}

bool MorphologyHolder::Start() {
    std::lock_guard<std::mutex> lock(mutex_);
    return Ensure() != nullptr;
}

std::string MorphologyHolder::FailureMessage() {
    std::lock_guard<std::mutex> lock(mutex_);
    return failure_;
}

void MorphologyHolder::Use(const std::function<void(const Lemmatizer*)>& use) {
    std::lock_guard<std::mutex> lock(mutex_);
    use(Ensure());
}

std::string MorphologyHolder::DictionaryForm(std::string_view word) {
    std::lock_guard<std::mutex> lock(mutex_);
    const Lemmatizer* lemmatizer = Ensure();
    if (!lemmatizer) return std::string(word);
    lemmatizer->Analyse(word, false, false, true, scratch_);
    // A word without any analysis (prediction found nothing) keeps its prepared spelling, so
    // that its dictionary form is upper case like every other.
    if (scratch_.empty()) return lemmatizer->PrepareWord(word);
    return lemmatizer->NormalForm(scratch_[ChosenAnalysis(*lemmatizer, scratch_)]);
}

std::size_t ChosenAnalysis(const Lemmatizer& lemmatizer, const std::vector<Analysis>& analyses) {
    const Analysis& first = analyses.front();
    // Most words are read as forms of one lexeme only, which share the normal form.
    auto sameLexeme = [&](const Analysis& a) {
        return a.model == first.model && a.prefixSet == first.prefixSet && a.base == first.base &&
               a.head == first.head;
    };
    if (std::all_of(analyses.begin() + 1, analyses.end(), sameLexeme)) return 0;
    // Analyses of one lexeme often come one after another; one lookup serves them all.
    const Statistics::LemmaWeights* weights = nullptr;
    std::size_t chosen = 0;
    std::int32_t greatest = 0;
    for (std::size_t i = 0; i < analyses.size(); ++i) {
        const Analysis& a = analyses[i];
        if (i == 0 || a.model != analyses[i - 1].model || a.base != analyses[i - 1].base)
            weights = lemmatizer.Stats().Find(a.model, a.base);
        const std::int32_t weight = weights ? weights->Weight(a.item) : 0;
        if (i == 0 || weight > greatest) {
            chosen = i;
            greatest = weight;
        }
    }
    return chosen;
}

std::string GetDictionaryForm(std::string_view word) {
    return MorphologyHolder::Instance().DictionaryForm(word);
}

std::u16string GetDictionaryForm(std::u16string_view word) {
    std::string bytes = platform::EncodeText(platform::kCodePage1251, word);
    return platform::DecodeBytes(platform::kCodePage1251, GetDictionaryForm(bytes));
}

}  // namespace kestrova
