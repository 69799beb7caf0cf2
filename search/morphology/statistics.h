// Frequency statistics of one subject: weights that tell the analyses of one word form apart.
// "<s>homoweight.bin" holds records of three 32-bit little-endian integers (lemma record,
// item, weight): the weight of the analysis that is that item of that lemma record;
// "<s>wordweight.bin" holds records of two (lemma record, weight): the weight of the lemma as
// a whole. Lemma records are numbered in the order of morph.annot; an analysis belongs to the
// lemma record with its flexia model and base. Weights never change the order of analyses.
#pragma once

#include "search/morphology/bases.h"
#include "search/morphology/mem_file.h"
#include "search/morphology/morph_annot.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kestrova {

class Statistics {
public:
    // Reads both files against the loaded dictionary; false when either is not a whole number
    // of records. Records of lemma records the dictionary lacks are left out.
    bool Load(MemFile& homoweight, MemFile& wordweight, const MorphAnnot& annot,
              const Bases& bases);
    bool Loaded() const { return loaded_; }

    // The weights of one lemma record: its own and those of its analyses by item.
    struct LemmaWeights {
        std::int32_t lemma = 0;
        std::vector<std::pair<std::uint32_t, std::int32_t>> items;
        // The weight of the analysis that is this item: its own when known, else the lemma's.
        std::int32_t Weight(std::uint32_t item) const;
    };
    // The weights of the lemma record with this flexia model and base, or null.
    const LemmaWeights* Find(std::uint32_t model, std::string_view base) const;
    // The weight of an analysis: its own when known, else its lemma's, else 0.
    std::int32_t Weight(std::uint32_t model, std::uint32_t item, std::string_view base) const {
        const LemmaWeights* weights = Find(model, base);
        return weights ? weights->Weight(item) : 0;
    }

private:
    // A lemma record as an analysis knows it; the map keeps its own copy of the base.
    struct Lexeme {
        std::uint32_t model;
        std::string_view base;
    };
    using LexemeKey = std::pair<std::uint32_t, std::string>;
    static Lexeme View(const Lexeme& k) { return k; }
    static Lexeme View(const LexemeKey& k) { return {k.first, k.second}; }
    struct LexemeHash {
        using is_transparent = void;
        template <class K>
        std::size_t operator()(const K& key) const {
            const Lexeme k = View(key);
            return std::hash<std::string_view>()(k.base) * 31 + k.model;
        }
    };
    struct LexemeEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            const Lexeme x = View(a), y = View(b);
            return x.model == y.model && x.base == y.base;
        }
    };
    // The weights of a lemma record by number (the first record of its model and base), or
    // null for a number the dictionary lacks.
    LemmaWeights* Add(std::uint32_t lemma, const MorphAnnot& annot, const Bases& bases);

    bool loaded_ = false;
    std::unordered_map<LexemeKey, LemmaWeights, LexemeHash, LexemeEqual> lemmas_;
};

}  // namespace kestrova
