// Compiling a lexicon into the twelve files of the Russian morphological dictionary.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/dictc/lexicon.h"

namespace kestrova::dictc {

struct Options {
    // Write each file LZMA-compressed as NAME.lzma (the form kept in resources/dict/); false
    // writes the plain files under their own names.
    bool compress = true;
    // Leave out this share of the lexemes, in percent (0 keeps all), chosen by IsHeldOut.
    double holdOutPercent = 0;
    uint64_t holdOutSeed = 20261209;
    // Strings allowed before the stem inside a paradigm (superlative НАИ-, comparative ПО-),
    // code page 1251, upper case; "" must be among them.
    std::vector<std::string> itemPrefixes = {"", "\xCF\xCE", "\xCD\xC0\xC8"};
    // Prefix strings for prediction (section 3 of morph.annot), code page 1251, upper case.
    // Empty means DefaultPrefixes().
    std::vector<std::string> prefixes;
    // Longest word ending (in letters) the prediction base is keyed by.
    int predictionSuffixLength = 6;
};

// Common Russian prefixes, code page 1251, upper case.
std::vector<std::string> DefaultPrefixes();

// True when lexeme number `index` is left out under these options (a fixed pseudo-random
// choice: the same index, share and seed always give the same answer).
bool IsHeldOut(size_t index, const Options& options);

struct FileSize {
    std::string name;  // e.g. "morph.annot"
    size_t plain = 0;
    size_t packed = 0;  // the compressed size (also computed when writing plain files)
};

struct Report {
    size_t lexemes = 0;         // lexemes compiled
    size_t heldOutLexemes = 0;  // left out by holdOutPercent
    size_t forms = 0;           // word forms stored
    size_t skippedForms = 0;    // forms left out for characters outside the word alphabet
    size_t skippedLexemes = 0;  // lexemes left out because their lemma was such a form
    size_t models = 0, bases = 0, lemmas = 0;
    size_t formNodes = 0, formRelations = 0, formFinals = 0;
    size_t predictNodes = 0, predictRelations = 0, predictKeys = 0;
    // Forms with analyses of two or more lemma words and a corpus estimate; records of the
    // statistics files.
    size_t ambiguousForms = 0, analysisWeights = 0, lemmaWeights = 0;
    std::vector<FileSize> files;  // the twelve files in resource order
};

// Names of the twelve files in resource order (chomoweight.bin ... rgramtab.tab).
const std::vector<std::string>& DictionaryFileNames();

// Compiles the lexicon and writes the twelve files into outDir (created when missing).
// Throws std::runtime_error naming the file or the lexeme that failed.
Report WriteDictionaries(const Lexicon& lexicon, const std::filesystem::path& outDir,
                         const Options& options = {});

}  // namespace kestrova::dictc
