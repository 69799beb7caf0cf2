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
    // The weight of an analysis: its own when known, else its lemma's, else 0.
    std::int32_t Weight(std::uint32_t model, std::uint32_t item, std::string_view base) const;

private:
    struct Lexeme {
        std::uint32_t model;
        std::string_view base;
    };
    struct LexemeHash {
        using is_transparent = void;
        std::size_t operator()(const std::pair<std::uint32_t, std::string>& key) const {
            return (*this)(Lexeme{key.first, key.second});
        }
        std::size_t operator()(const Lexeme& key) const {
            return std::hash<std::string_view>()(key.base) * 31 + key.model;
        }
    };
    struct LexemeEqual {
        using is_transparent = void;
        template <class A, class B>
        bool operator()(const A& a, const B& b) const {
            return Model(a) == Model(b) && Base(a) == Base(b);
        }
        static std::uint32_t Model(const Lexeme& k) { return k.model; }
        static std::uint32_t Model(const std::pair<std::uint32_t, std::string>& k) {
            return k.first;
        }
        static std::string_view Base(const Lexeme& k) { return k.base; }
        static std::string_view Base(const std::pair<std::uint32_t, std::string>& k) {
            return k.second;
        }
    };
    // The weights of one lemma record: its own and those of its analyses by item.
    struct Weights {
        std::int32_t lemma = 0;
        std::vector<std::pair<std::uint32_t, std::int32_t>> items;
    };
    // The weights of a lemma record by number (the first record of its model and base), or
    // null for a number the dictionary lacks.
    Weights* Find(std::uint32_t lemma, const MorphAnnot& annot, const Bases& bases);

    bool loaded_ = false;
    std::unordered_map<std::pair<std::uint32_t, std::string>, Weights, LexemeHash, LexemeEqual>
        lemmas_;
};

}  // namespace kestrova
