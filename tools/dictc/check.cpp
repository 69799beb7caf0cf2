#include "tools/dictc/check.h"

#include <algorithm>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <unordered_set>

#include "platform/codepage.h"
#include "tools/dictc/alphabet.h"
#include "tools/dictc/weights.h"

namespace kestrova::dictc {
namespace {

constexpr size_t kMaxExamples = 20;
// Millionths within which two summed corpus estimates are equal.
constexpr uint64_t kEstimateRounding = 10;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot open the dictionary file");
    std::stringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string Utf8(std::string_view cp1251) {
    return platform::Utf16ToUtf8(platform::DecodeBytes(platform::kCodePage1251, cp1251));
}

std::string Cp1251(std::string_view utf8) {
    return platform::EncodeText(platform::kCodePage1251, platform::Utf8ToUtf16(utf8));
}

// Folded forms of a lexeme, each once, with the folded lemma; empty when the lemma does not fold.
std::vector<std::string> FoldedForms(const Lexeme& lexeme, std::string& lemma) {
    std::optional<std::string> folded = FoldWord(lexeme.forms[0].word);
    if (!folded) return {};
    lemma = *folded;
    std::set<std::string> seen;
    std::vector<std::string> result;
    for (const Form& form : lexeme.forms) {
        std::optional<std::string> f = FoldWord(form.word);
        if (f && seen.insert(*f).second) result.push_back(*f);
    }
    return result;
}

struct Analysed {
    bool any = false;
    bool found = false;
    std::string normal;
};

// The analysis that gives the dictionary form of a word.
Analysed Chosen(const Lemmatizer& lemmatizer, const std::string& word,
                std::vector<Analysis>& scratch) {
    lemmatizer.Analyse(word, false, false, true, scratch);
    if (scratch.empty()) return {};
    const Analysis& chosen = scratch[ChosenAnalysis(lemmatizer, scratch)];
    return {true, chosen.found, lemmatizer.NormalForm(chosen)};
}

void Example(LexiconCheck& check, const std::string& form, const Analysed& got,
             const std::string& lemma) {
    if (check.examples.size() >= kMaxExamples) return;
    check.examples.push_back(Utf8(form) + ": got " + (got.any ? Utf8(got.normal) : "nothing") +
                             (got.found ? " (found)" : " (predicted)") + ", expected " +
                             Utf8(lemma));
}

}  // namespace

FolderDictionary::FolderDictionary(const std::filesystem::path& dir) {
    for (const std::string& name : DictionaryFileNames())
        files_.push_back(ReadFile(dir / (name + ".lzma")));
    holder_ = std::make_unique<MorphologyHolder>(
        registry_, [this](int id, std::string_view type) -> std::optional<ModuleResource> {
            size_t index = size_t(id - kDictResources[0].id);
            if (type != kDictResourceType || index >= files_.size()) return std::nullopt;
            return ModuleResource{reinterpret_cast<const uint8_t*>(files_[index].data()),
                                  files_[index].size()};
        });
}

LexiconCheck CheckLexicon(const Lexicon& lexicon, const Options& options,
                          const Lemmatizer& lemmatizer) {
    // Every (form, lemma) pair of the compiled lexemes: the chosen analysis must give one of them.
    std::unordered_set<std::string> pairs;
    std::string lemma;
    for (size_t i = 0; i < lexicon.lexemes.size(); ++i) {
        if (IsHeldOut(i, options)) continue;
        for (const std::string& form : FoldedForms(lexicon.lexemes[i], lemma))
            pairs.insert(form + '\t' + lemma);
    }
    LexiconCheck check;
    std::vector<Analysis> scratch;
    for (size_t i = 0; i < lexicon.lexemes.size(); ++i) {
        const bool heldOut = IsHeldOut(i, options);
        for (const std::string& form : FoldedForms(lexicon.lexemes[i], lemma)) {
            Analysed got = Chosen(lemmatizer, form, scratch);
            const bool own = got.any && got.normal == lemma;
            if (heldOut) {
                ++check.heldOutForms;
                (got.found ? check.heldOutFound : check.heldOutPredicted)++;
                (got.found ? check.heldOutFoundOwn : check.heldOutPredictedOwn) += own;
                check.heldOutFirstOwn +=
                    !scratch.empty() && lemmatizer.NormalForm(scratch.front()) == lemma;
                continue;
            }
            ++check.forms;
            if (!got.found) {
                ++check.notFound;
                Example(check, form, got, lemma);
            } else if (!own && pairs.count(form + '\t' + got.normal) == 0) {
                ++check.wrongLemma;
                Example(check, form, got, lemma);
            }
        }
    }
    return check;
}

ChoiceCheck CheckChoice(const Lexicon& lexicon, const Options& options,
                        const Lemmatizer& lemmatizer) {
    const FormEstimates estimates = FoldEstimates(lexicon.weights);
    // Estimated form -> the (lemma, tag) pairs with which it is a form of a compiled lexeme.
    std::map<std::string, std::set<std::pair<std::string, uint32_t>>> readings;
    for (size_t i = 0; i < lexicon.lexemes.size(); ++i) {
        const Lexeme& lexeme = lexicon.lexemes[i];
        std::optional<std::string> lemma = FoldWord(lexeme.forms[0].word);
        if (IsHeldOut(i, options) || !lemma) continue;
        for (const Form& form : lexeme.forms) {
            std::optional<std::string> folded = FoldWord(form.word);
            if (folded && estimates.count(*folded)) readings[*folded].emplace(*lemma, form.tag);
        }
    }
    ChoiceCheck check;
    std::vector<Analysis> analyses;
    for (const auto& [form, pairs] : readings) {
        std::map<std::string, uint64_t> probability;
        for (const auto& [lemma, tag] : pairs) {
            const auto& estimate = estimates.at(form);
            auto found = estimate.find(tag);
            probability[lemma] += found == estimate.end() ? 0 : found->second;
        }
        if (probability.size() < 2) continue;
        uint64_t best = 0;
        for (const auto& [lemma, p] : probability) best = std::max(best, p);
        // Estimates are rounded to millionths: 1/3 and 1/6 + 1/6 differ by one.
        auto isBest = [&](uint64_t p) { return p + kEstimateRounding >= best; };
        auto mostProbable = [&](const std::string& normal) {
            auto found = probability.find(normal);
            return found != probability.end() && isBest(found->second);
        };
        ++check.forms;
        lemmatizer.Analyse(form, false, false, true, analyses);
        if (analyses.empty()) continue;
        const std::string chosen =
            lemmatizer.NormalForm(analyses[ChosenAnalysis(lemmatizer, analyses)]);
        check.firstMostProbable += mostProbable(lemmatizer.NormalForm(analyses.front()));
        if (mostProbable(chosen)) {
            ++check.chosenMostProbable;
        } else if (check.examples.size() < kMaxExamples) {
            std::string expected;
            for (const auto& [lemma, p] : probability) {
                if (isBest(p)) expected += (expected.empty() ? "" : " or ") + Utf8(lemma);
            }
            check.examples.push_back(Utf8(form) + ": got " + Utf8(chosen) + ", expected " +
                                     expected);
        }
    }
    return check;
}

std::vector<NamedCheck> CheckNamedWords(const Lemmatizer& lemmatizer) {
    std::vector<NamedCheck> checks;
    std::vector<Analysis> analyses;
    auto lemmaOf = [&](const char* utf8, const char* expected) {
        Analysed got = Chosen(lemmatizer, Cp1251(utf8), analyses);
        checks.push_back({std::string(utf8) + " -> " + expected,
                          got.any && got.found && got.normal == Cp1251(expected),
                          got.any ? Utf8(got.normal) + (got.found ? " (found)" : " (predicted)")
                                  : "no analysis"});
    };
    lemmaOf("ЗАКОНЫ", "ЗАКОН");
    lemmaOf("ЗАКОНУ", "ЗАКОН");
    lemmaOf("НАЛОГОВОГО", "НАЛОГОВЫЙ");
    lemmaOf("ЕЛКИ", "ЕЛКА");
    lemmaOf("Ёлки", "ЕЛКА");
    lemmaOf("Ёлка", "ЕЛКА");
    lemmaOf("СДЕЛАЛ", "СДЕЛАТЬ");

    lemmatizer.Analyse(Cp1251("СДЕЛАЛ"), false, false, true, analyses);
    NamedCheck sameModel{"СДЕЛАТЬ is item 0 of the model of СДЕЛАЛ", false, "СДЕЛАЛ not found"};
    if (!analyses.empty() && analyses[0].found) {
        const uint32_t model = analyses[0].model;
        sameModel.detail =
            "model " + std::to_string(model) + ", item " + std::to_string(analyses[0].item);
        lemmatizer.Analyse(Cp1251("СДЕЛАТЬ"), false, false, true, analyses);
        for (const Analysis& a : analyses)
            sameModel.passed |= a.found && a.model == model && a.item == 0;
    }
    checks.push_back(sameModel);

    for (const char* word : {"ЗАКОН1", "ЗАКОНZ", "abc"}) {
        lemmatizer.Analyse(Cp1251(word), false, false, true, analyses);
        bool anyFound = false;
        for (const Analysis& a : analyses) anyFound |= a.found;
        checks.push_back({std::string(word) + " goes to prediction", !anyFound,
                          std::to_string(analyses.size()) + " predicted analyses"});
    }
    // Ambiguous forms whose first analysis is not the likely one.
    lemmaOf("СУДАМИ", "СУД");
    lemmaOf("СУДА", "СУД");
    lemmaOf("БЫЛИ", "БЫТЬ");
    lemmaOf("МОЖЕТ", "МОЧЬ");
    lemmaOf("СЛОЯ", "СЛОЙ");
    lemmaOf("СТАЛИ", "СТАТЬ");
    return checks;
}

}  // namespace kestrova::dictc
