// The statistics files: corpus weights that tell the analyses of one word form apart, so that
// the dictionary form of an ambiguous form is its most probable lemma.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

#include "tools/dictc/lexicon.h"

namespace kestrova::dictc {

// Corpus estimates by folded spelling: tag -> P(tag | form) in millionths. Spellings that fold
// alike (ВСЕ, ВСЁ) count equally, and the estimates of a folded form sum to one million.
using FormEstimates = std::unordered_map<std::string, std::map<uint32_t, uint32_t>>;
FormEstimates FoldEstimates(const std::vector<FormWeight>& weights);

// The weight that ranks the analyses of a form: an analysis whose form has a corpus estimate
// for its lemma weighs kEstimatedWeight * (1 + its probability in thousandths) plus the weight
// of its lemma; one without weighs only the weight of its lemma, which stays below
// kEstimatedWeight.
inline constexpr uint32_t kEstimatedWeight = 1u << 20;
uint32_t AnalysisWeight(uint64_t probabilityMillionths, uint64_t lemmaWeightThousandths);

struct WeightFiles {
    std::string homoweight;  // (lemma record, item, weight) records
    std::string wordweight;  // (lemma record, weight) records
    size_t ambiguousForms = 0;
};

// Collects the lemma records and the stored forms that have a corpus estimate while the
// dictionary is compiled, then writes the two statistics files.
class WeightCollector {
public:
    explicit WeightCollector(const std::vector<FormWeight>& weights)
        : estimates_(FoldEstimates(weights)) {}

    // The next lemma record (numbered from 0) and its folded lemma word.
    void AddLemma(const std::string& word);
    // One stored form of a lemma record: folded spelling, item number and tag.
    void AddForm(const std::string& form, uint32_t lemma, uint32_t item, uint32_t tag);

    // The records, little-endian 32-bit integers sorted by lemma record and item:
    // homoweight for every analysis of a form with analyses of two or more lemma words and a
    // corpus estimate, wordweight for every lemma record whose lemma word has a weight.
    WeightFiles Write() const;

private:
    struct Reading {
        uint32_t lemma, item, tag;
    };

    uint32_t WordId(const std::string& word);

    FormEstimates estimates_;
    std::map<std::string, std::vector<Reading>> readings_;  // by folded form
    std::vector<uint32_t> lemmaWords_;                      // lemma record -> word id
    std::unordered_map<std::string, uint32_t> wordIds_;
};

}  // namespace kestrova::dictc
