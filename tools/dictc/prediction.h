// The prediction base (npredict.bin): for word endings seen in the dictionary, the most
// frequent ways of turning a word with that ending into its lemma.  See docs/npredict.md.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrova::dictc {

class PredictionCollector {
public:
    // maxSuffix: longest ending used as a key, 1 to 6 letters.
    explicit PredictionCollector(int maxSuffix);

    // One word form of the dictionary (folded, code page 1251) with its flexia model and item,
    // whose item ending is endingLength bytes long.  Every ending of the word that is at least
    // the item ending and shorter than the word becomes a key.
    void Add(std::string_view word, uint32_t model, uint32_t item, size_t endingLength);

    // The strings of the prediction automaton: reversed ending, "+", rank digit, annotation.
    // ruleOf(model, item) identifies what the analysis does to a word (equal rules give equal
    // lemmas); per key the `candidates` most frequent rules are kept, each by its most frequent
    // (model, item).  Keys longer than one letter seen fewer than minCount times are dropped.
    std::vector<std::string> Strings(const std::function<uint32_t(uint32_t, uint32_t)>& ruleOf,
                                     size_t candidates, size_t minCount, size_t* keyCount) const;

private:
    int maxSuffix_;
    mutable std::vector<uint64_t> samples_;
};

}  // namespace kestrova::dictc
