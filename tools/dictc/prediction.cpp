#include "tools/dictc/prediction.h"

#include <algorithm>
#include <map>
#include <stdexcept>

#include "tools/dictc/alphabet.h"

namespace kestrova::dictc {
namespace {

// A sample: bits 59-61 key length, bits 23-58 key letters (six bits each, last letter of the
// word in the highest place), bits 0-22 model and item.
constexpr int kAnnotBits = 23;
constexpr int kLetterBits = 6;
constexpr int kMaxSuffix = 6;

uint64_t KeyOf(uint64_t sample) { return sample >> kAnnotBits; }
uint32_t AnnotOf(uint64_t sample) { return uint32_t(sample & ((1u << kAnnotBits) - 1)); }

std::string KeyString(uint64_t key) {
    int length = int(key >> (kLetterBits * kMaxSuffix));
    std::string result;
    for (int i = 0; i < length; ++i) {
        int index = int((key >> (kLetterBits * (kMaxSuffix - 1 - i))) & 63);
        for (int byte = 0; byte < 256; ++byte) {
            if (WordAlphabet()[byte] == index) result.push_back(char(byte));
        }
    }
    return result;
}

struct RuleCount {
    size_t total = 0;
    uint32_t bestAnnot = 0;
    size_t bestCount = 0;
};

}  // namespace

PredictionCollector::PredictionCollector(int maxSuffix) : maxSuffix_(maxSuffix) {
    if (maxSuffix < 1 || maxSuffix > kMaxSuffix)
        throw std::runtime_error("prediction suffix length must be 1 to 6");
}

void PredictionCollector::Add(std::string_view word, uint32_t model, uint32_t item,
                              size_t endingLength) {
    uint64_t letters = 0;
    const size_t longest = std::min<size_t>(size_t(maxSuffix_), word.empty() ? 0 : word.size() - 1);
    for (size_t length = 1; length <= longest; ++length) {
        int index = WordAlphabet()[static_cast<unsigned char>(word[word.size() - length])];
        letters |= uint64_t(index) << (kLetterBits * (kMaxSuffix - length));
        if (length < endingLength) continue;
        uint64_t key = uint64_t(length) << (kLetterBits * kMaxSuffix) | letters;
        samples_.push_back(key << kAnnotBits | (model << 9 | item));
    }
}

std::vector<std::string> PredictionCollector::Strings(
    const std::function<uint32_t(uint32_t, uint32_t)>& ruleOf, size_t candidates, size_t minCount,
    size_t* keyCount) const {
    std::sort(samples_.begin(), samples_.end());
    std::vector<std::string> result;
    *keyCount = 0;
    for (size_t begin = 0; begin < samples_.size();) {
        const uint64_t key = KeyOf(samples_[begin]);
        size_t end = begin;
        std::map<uint32_t, RuleCount> rules;
        while (end < samples_.size() && KeyOf(samples_[end]) == key) {
            size_t run = end;
            while (run < samples_.size() && samples_[run] == samples_[end]) ++run;
            uint32_t annot = AnnotOf(samples_[end]);
            RuleCount& rule = rules[ruleOf(annot >> 9, annot & 511)];
            rule.total += run - end;
            if (run - end > rule.bestCount) rule.bestCount = run - end, rule.bestAnnot = annot;
            end = run;
        }
        const bool oneLetter = (key >> (kLetterBits * kMaxSuffix)) == 1;
        if (end - begin >= minCount || oneLetter) {
            std::vector<RuleCount> ranked;
            for (const auto& entry : rules) ranked.push_back(entry.second);
            std::stable_sort(
                ranked.begin(), ranked.end(),
                [](const RuleCount& a, const RuleCount& b) { return a.total > b.total; });
            const std::string keyText = KeyString(key);
            for (size_t rank = 0; rank < ranked.size() && rank < candidates; ++rank) {
                std::string s = keyText;
                s.push_back(kAnnotationChar);
                s.push_back(char(AnnotationDigit(int(rank))));
                AppendAnnotation(s, ranked[rank].bestAnnot << 9);
                result.push_back(std::move(s));
            }
            ++*keyCount;
        }
        begin = end;
    }
    return result;
}

}  // namespace kestrova::dictc
