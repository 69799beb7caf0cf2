#include "search/morphology/statistics.h"

namespace kestrova {
namespace {

// Reads records of N integers until the data end; false on a partial record.
template <int N, class Store>
bool ReadRecords(MemFile& file, Store store) {
    while (true) {
        std::int32_t record[N];
        std::size_t got = file.ReadItems(record, sizeof(std::int32_t), N);
        if (got == 0) return true;
        if (got != N) return false;
        store(record);
    }
}

}  // namespace

Statistics::LemmaWeights* Statistics::Add(std::uint32_t lemma, const MorphAnnot& annot,
                                          const Bases& bases) {
    if (lemma >= annot.lemmas.size()) return nullptr;
    const LemmaRecord& record = annot.lemmas[lemma];
    if (record.base >= bases.Size()) return nullptr;
    return &lemmas_[LexemeKey(record.model, bases.Get(record.base))];
}

bool Statistics::Load(MemFile& homoweight, MemFile& wordweight, const MorphAnnot& annot,
                      const Bases& bases) {
    lemmas_.clear();
    bool ok = ReadRecords<3>(homoweight, [&](const std::int32_t* r) {
        if (LemmaWeights* w = Add(static_cast<std::uint32_t>(r[0]), annot, bases))
            w->items.emplace_back(static_cast<std::uint32_t>(r[1]), r[2]);
    });
    ok = ok && ReadRecords<2>(wordweight, [&](const std::int32_t* r) {
             if (LemmaWeights* w = Add(static_cast<std::uint32_t>(r[0]), annot, bases))
                 w->lemma = r[1];
         });
    loaded_ = ok;
    return ok;
}

const Statistics::LemmaWeights* Statistics::Find(std::uint32_t model, std::string_view base) const {
    if (lemmas_.empty()) return nullptr;
    auto found = lemmas_.find(Lexeme{model, base});
    return found == lemmas_.end() ? nullptr : &found->second;
}

std::int32_t Statistics::LemmaWeights::Weight(std::uint32_t item) const {
    for (const auto& [number, weight] : items) {
        if (number == item) return weight;
    }
    return lemma;
}

}  // namespace kestrova
