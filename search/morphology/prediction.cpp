// Analyses of words the dictionary lacks: by a known suffix, by the prediction base, and
// hyphenated words part by part.
#include "search/morphology/lemmatizer.h"

namespace kestrova {
namespace {

// The shortest suffix looked up in the dictionary, and the length under which the skipped
// beginning must be a known prefix.
constexpr std::size_t kMinSuffix = 4;
constexpr std::size_t kFreeSuffix = 6;

}  // namespace

bool Lemmatizer::PredictBySuffix(std::string_view word, std::vector<Analysis>& out) const {
    std::vector<Analysis> found;
    std::size_t k = 1;
    for (; word.size() >= k + kMinSuffix; ++k) {
        LookupForm(word.substr(k), found);
        if (!found.empty()) break;
    }
    if (found.empty()) return false;
    std::string_view skipped = word.substr(0, k);
    if (word.size() - k < kFreeSuffix && word[k - 1] != '-' &&
        annot_.prefixStrings.find(std::string(skipped)) == annot_.prefixStrings.end()) {
        return false;
    }
    for (const Analysis& a : found) {
        if (annot_.Flag(a.model) == kNoPredictionFlag) return false;
    }
    for (Analysis& a : found) {
        a.found = false;
        a.head = skipped;
        out.push_back(std::move(a));
    }
    return true;
}

// The prediction base holds, for word endings written backwards, "+", a rank digit and the
// annotation of the paradigm form most often behind that ending. The longest ending of the
// word that the base knows gives its candidates, in rank order.
bool Lemmatizer::PredictByBase(std::string_view word, std::vector<Analysis>& out) const {
    if (predict_.Empty()) return false;
    int node = 0;
    int plusNode = -1;
    for (std::size_t length = 1; length <= word.size(); ++length) {
        node = predict_.Next(node, static_cast<unsigned char>(word[word.size() - length]));
        if (node < 0) break;
        if (int plus = predict_.Next(node, kAnnotChar); plus >= 0) plusNode = plus;
    }
    std::size_t before = out.size();
    predict_.ForEachAnnotation(plusNode, [&](std::uint64_t value) {
        if (value / kAnnotationBase > UINT32_MAX) return;
        // The lowest digit is the rank.
        Annotation a = UnpackAnnotation(static_cast<std::uint32_t>(value / kAnnotationBase));
        if (a.model >= annot_.models.size() || a.item >= annot_.models[a.model].items.size())
            return;
        const FlexiaItem& item = annot_.models[a.model].items[a.item];
        if (item.ending.size() >= word.size() ||
            item.prefix.size() + item.ending.size() > word.size())
            return;
        if (word.substr(word.size() - item.ending.size()) != item.ending) return;
        if (word.substr(0, item.prefix.size()) != item.prefix) return;
        Analysis& analysis = out.emplace_back();
        analysis.model = a.model;
        analysis.item = a.item;
        analysis.base =
            word.substr(item.prefix.size(), word.size() - item.prefix.size() - item.ending.size());
        analysis.found = false;
    });
    return out.size() > before;
}

// Each part but the last is replaced by its normal form when the dictionary has it, the
// last part is analysed (and predicted) as a word of its own and gives the analyses, so
// that every form of a compound like ЧЕЛОВЕК-ПАУК has one normal form.
bool Lemmatizer::AnalyseByParts(std::string_view word, std::vector<Analysis>& out) const {
    std::size_t lastHyphen = word.rfind('-');
    if (lastHyphen == std::string_view::npos || lastHyphen == 0 || lastHyphen + 1 == word.size())
        return false;
    std::string head;
    std::vector<Analysis> part;
    std::size_t start = 0;
    while (start <= lastHyphen) {
        std::size_t hyphen = word.find('-', start);
        std::string_view text = word.substr(start, hyphen - start);
        if (text.empty()) return false;
        part.clear();
        LookupForm(text, part);
        head += part.empty() ? std::string(text) : NormalForm(part.front());
        head += '-';
        start = hyphen + 1;
    }
    part.clear();
    AnalysePrepared(word.substr(lastHyphen + 1), true, part);
    if (part.empty()) return false;
    for (Analysis& a : part) {
        a.found = false;
        a.head = head + a.head;
        out.push_back(std::move(a));
    }
    return true;
}

}  // namespace kestrova
