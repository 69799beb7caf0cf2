// Quality checks of compiled dictionaries against their lexicon, through the lemmatizer.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "search/morphology/mem_file_registry.h"
#include "search/morphology/morphology_holder.h"
#include "tools/dictc/dictionaries.h"
#include "tools/dictc/lexicon.h"

namespace kestrova::dictc {

// A lemmatizer over the twelve compressed files NAME.lzma of a folder (as written by
// WriteDictionaries), registered like the program's own resources.
class FolderDictionary {
public:
    // Reads the files; throws std::runtime_error naming a file that cannot be read.
    explicit FolderDictionary(const std::filesystem::path& dir);
    // The holder over those files (started on first use, like the process-wide one).
    MorphologyHolder& Holder() { return *holder_; }

private:
    std::vector<std::string> files_;  // in resource order; the registry points into them
    MemFileRegistry registry_;
    std::unique_ptr<MorphologyHolder> holder_;
};

struct LexiconCheck {
    // Every form of every lexeme that was compiled (after folding, once per lexeme).
    size_t forms = 0;
    size_t notFound = 0;    // the chosen analysis is predicted, or there is none
    size_t wrongLemma = 0;  // found, but the chosen normal form is no lemma of the form's lexemes
    // Forms of the held-out lexemes (compiled without them).
    size_t heldOutForms = 0;
    size_t heldOutFound = 0, heldOutFoundOwn = 0;          // found through another lexeme
    size_t heldOutPredicted = 0, heldOutPredictedOwn = 0;  // predicted; with their own lemma
    size_t heldOutFirstOwn = 0;  // the first analysis gives the own lemma (found or predicted)
    std::vector<std::string> examples;  // a few failures, UTF-8, "FORM: got X, expected Y"
};

// Analyses every form of the lexicon with the lemmatizer of dictionaries compiled from it with
// `options` (IsHeldOut tells which lexemes were left out); the lemma got is that of the analysis
// the front-end chooses.
LexiconCheck CheckLexicon(const Lexicon& lexicon, const Options& options,
                          const Lemmatizer& lemmatizer);

struct ChoiceCheck {
    // Forms with analyses of two or more lemmas (in the compiled lexemes) and a corpus estimate.
    size_t forms = 0;
    // Of them, those whose dictionary form is a most probable lemma (P(lemma | form) summed
    // over the tags with which the form belongs to it), and those whose first analysis gives
    // one (the rule before the statistics weighed the analyses).
    size_t chosenMostProbable = 0, firstMostProbable = 0;
    std::vector<std::string> examples;  // a few misses, UTF-8, "FORM: got X, expected Y"
};

// How often the dictionary form of an ambiguous form is its most probable lemma.
ChoiceCheck CheckChoice(const Lexicon& lexicon, const Options& options,
                        const Lemmatizer& lemmatizer);

struct NamedCheck {
    std::string what;  // UTF-8 description
    bool passed = false;
    std::string detail;
};

// The words every Russian dictionary must get right (ЗАКОНЫ -> ЗАКОН and the others).
std::vector<NamedCheck> CheckNamedWords(const Lemmatizer& lemmatizer);

}  // namespace kestrova::dictc
