// The lexicon the dictionary compiler reads: lexemes with their word forms and tags.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kestrova::dictc {

// One word form: its spelling (UTF-8, any case, ё allowed) and its tag number in Lexicon::tags.
struct Form {
    std::string word;
    uint32_t tag = 0;
};

// One lexeme; forms[0] is its dictionary form (lemma).
struct Lexeme {
    std::vector<Form> forms;
};

// A corpus estimate of how often a spelling is read with a tag: P(tag | word) times 1000000.
struct FormWeight {
    std::string word;  // UTF-8, as in Form::word
    uint32_t tag = 0;
    uint32_t weight = 0;
};

struct Lexicon {
    // Grammatical tags as OpenCorpora writes them: part of speech first, then grammemes separated
    // by commas or blanks ("NOUN,inan,masc sing,nomn").
    std::vector<std::string> tags;
    // Grammeme -> its Russian abbreviation used in the gramtab ("masc" -> "мр"); a grammeme not
    // listed is written as it stands.
    std::map<std::string, std::string> grammemeNames;
    std::vector<Lexeme> lexemes;
    // Corpus frequencies for the statistics files; may be empty.
    std::vector<FormWeight> weights;

    // Number of a tag, added at the end when new.
    uint32_t TagId(std::string_view tag);
    // Adds a lexeme from (form, tag) pairs, lemma first.
    void Add(const std::vector<std::pair<std::string, std::string>>& forms);

private:
    std::map<std::string, uint32_t, std::less<>> tagIds_;
};

// Reads the lexicon text written by dump-az-lexicon.js (UTF-8, tab-separated):
//   "# ..." comment; "G" name alias; "T" tag (numbered from 0); "L" form tag-number form ...;
//   "P" form tag-number weight
// Throws std::runtime_error "PATH:LINE: what is wrong".
Lexicon ReadLexicon(const std::filesystem::path& path);

}  // namespace kestrova::dictc
