#include "tools/dictc/weights.h"

#include <algorithm>
#include <cmath>
#include <set>

#include "tools/dictc/alphabet.h"

namespace kestrova::dictc {
namespace {

constexpr uint64_t kMillion = 1000000;

void AppendWord(std::string& out, uint32_t value) {
    for (int i = 0; i < 4; ++i) out.push_back(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

FormEstimates FoldEstimates(const std::vector<FormWeight>& weights) {
    // folded form -> spelling -> tag -> estimate
    std::map<std::string, std::map<std::string, std::map<uint32_t, uint64_t>>> bySpelling;
    for (const FormWeight& w : weights) {
        std::optional<std::string> folded = FoldWord(w.word);
        if (folded && !folded->empty()) bySpelling[*folded][w.word][w.tag] += w.weight;
    }
    FormEstimates result;
    for (const auto& [folded, spellings] : bySpelling) {
        std::map<uint32_t, double> share;
        size_t counted = 0;
        for (const auto& [spelling, tags] : spellings) {
            uint64_t total = 0;
            for (const auto& [tag, weight] : tags) total += weight;
            if (total == 0) continue;
            ++counted;
            for (const auto& [tag, weight] : tags) share[tag] += double(weight) / double(total);
        }
        if (counted == 0) continue;
        std::map<uint32_t, uint32_t>& estimate = result[folded];
        for (const auto& [tag, value] : share)
            estimate[tag] = uint32_t(std::lround(value / double(counted) * double(kMillion)));
    }
    return result;
}

uint32_t AnalysisWeight(uint64_t probabilityMillionths, uint64_t lemmaWeightThousandths) {
    const uint64_t thousandths = (std::min(probabilityMillionths, kMillion) + 999) / 1000;
    return uint32_t(kEstimatedWeight * (1 + thousandths) +
                    std::min<uint64_t>(lemmaWeightThousandths, kEstimatedWeight - 1));
}

void WeightCollector::AddLemma(const std::string& word) { lemmaWords_.push_back(WordId(word)); }

void WeightCollector::AddForm(const std::string& form, uint32_t lemma, uint32_t item,
                              uint32_t tag) {
    if (estimates_.count(form) != 0) readings_[form].push_back(Reading{lemma, item, tag});
}

uint32_t WeightCollector::WordId(const std::string& word) {
    return wordIds_.emplace(word, uint32_t(wordIds_.size())).first->second;
}

WeightFiles WeightCollector::Write() const {
    // P(lemma word | form): the estimates of the distinct tags with which the form is a form
    // of that word.
    auto byWord = [&](const std::string& form, const std::vector<Reading>& readings) {
        const std::map<uint32_t, uint32_t>& estimate = estimates_.at(form);
        std::map<uint32_t, uint64_t> probability;
        std::set<std::pair<uint32_t, uint32_t>> seen;
        for (const Reading& r : readings) {
            const uint32_t word = lemmaWords_.at(r.lemma);
            uint64_t& p = probability[word];
            auto found = estimate.find(r.tag);
            if (seen.insert({word, r.tag}).second && found != estimate.end()) p += found->second;
        }
        return probability;
    };
    // The weight of a lemma word: over the estimated forms, how often the form is that word.
    std::vector<uint64_t> wordWeight(wordIds_.size());
    for (const auto& [form, readings] : readings_) {
        for (const auto& [word, p] : byWord(form, readings)) wordWeight[word] += p;
    }
    WeightFiles files;
    std::map<std::pair<uint32_t, uint32_t>, uint32_t> analyses;
    for (const auto& [form, readings] : readings_) {
        const std::map<uint32_t, uint64_t> probability = byWord(form, readings);
        if (probability.size() < 2) continue;
        ++files.ambiguousForms;
        for (const Reading& r : readings) {
            const uint32_t word = lemmaWords_[r.lemma];
            const uint64_t p = probability.at(word);
            if (p == 0) continue;  // an analysis the corpus never saw keeps its lemma's weight
            uint32_t& weight = analyses[{r.lemma, r.item}];
            weight = std::max(weight, AnalysisWeight(p, wordWeight[word] / 1000));
        }
    }
    for (const auto& [key, weight] : analyses) {
        AppendWord(files.homoweight, key.first);
        AppendWord(files.homoweight, key.second);
        AppendWord(files.homoweight, weight);
    }
    for (uint32_t lemma = 0; lemma < lemmaWords_.size(); ++lemma) {
        const uint64_t weight =
            std::min<uint64_t>(wordWeight[lemmaWords_[lemma]] / 1000, kEstimatedWeight - 1);
        if (weight == 0) continue;
        AppendWord(files.wordweight, lemma);
        AppendWord(files.wordweight, uint32_t(weight));
    }
    return files;
}

}  // namespace kestrova::dictc
