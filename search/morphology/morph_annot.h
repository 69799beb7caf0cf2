// The dictionary's "morph.annot" file: flexia models, accent models, prefix sets, lemma
// records and the prediction flags of the flexia models.
#pragma once

#include "search/morphology/mem_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace kestrova {

// One form of a paradigm: written prefix + base + ending, with its grammatical codes.
struct FlexiaItem {
    std::string ending;
    std::string gramCodes;  // a sequence of two-byte codes of the gramtab
    std::string prefix;
};

// A paradigm; item 0 is the normal form.
struct FlexiaModel {
    std::vector<FlexiaItem> items;
    std::string comment;  // the text after "q//q", if any
};

#pragma pack(push, 1)
struct LemmaRecord {
    std::uint16_t model;
    std::uint16_t accentModel;
    char commonCode[2];
    std::uint8_t padding[2];
    std::uint32_t base;
};
#pragma pack(pop)
static_assert(sizeof(LemmaRecord) == 12);

// Flag byte of a flexia model that keeps it out of suffix prediction.
inline constexpr std::uint8_t kNoPredictionFlag = 255;

struct MorphAnnot {
    std::vector<FlexiaModel> models;
    std::vector<std::vector<std::uint8_t>> accentModels;  // 255: no accent
    std::vector<std::string> prefixSets;            // [0] is the empty set, not stored in the file
    std::unordered_set<std::string> prefixStrings;  // the stored prefix sets, for prediction
    std::vector<LemmaRecord> lemmas;
    std::vector<std::uint8_t> flags;  // one per flexia model

    std::uint8_t Flag(std::uint32_t model) const { return model < flags.size() ? flags[model] : 0; }
};

// Parses one flexia model line (items "%ending*codes" or "%ending*codes*prefix", then an
// optional "q//q" comment); false when the line is not a valid model.
bool ParseFlexiaModel(std::string_view line, FlexiaModel& model);

// Reads every section of the file; throws CExpc with the section's message.
void LoadMorphAnnot(MemFile& file, MorphAnnot& annot);

}  // namespace kestrova
