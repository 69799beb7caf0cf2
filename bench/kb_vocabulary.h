// The Russian word list of the generated knowledge bases and its inflection: nouns of eight
// declension patterns in six cases and both numbers, adjectives agreeing in gender, number and
// case, verbs of two conjugation patterns in eleven forms, and sentences built from them.
#pragma once

#include "bench/kb_generator.h"

#include <string>
#include <vector>

namespace kestrova::bench {

enum class Case { kNom, kGen, kDat, kAcc, kIns, kPrep };
enum class Gender { kMasc, kFem, kNeut };

struct NounPhrase {
    std::u16string text;
    Gender gender = Gender::kMasc;
    bool plural = false;
};

// A noun, with an agreeing adjective when `withAdjective`, in the given case and number.
NounPhrase RandomNounPhrase(KbRandom& random, Case c, bool plural, bool withAdjective);

// One sentence of reference-book prose, capitalised and ending in a full stop.
std::u16string RandomSentence(KbRandom& random);

// Every form that RandomSentence and RandomNounPhrase can produce from the word list (lower
// case), for drawing queries. Words are used by a Zipf-like law: a few on most pages, most on a
// few.
std::vector<std::u16string> AllWordForms();

// The twelve forms of each of the `count` most frequent nouns (the words found on most pages).
std::vector<std::u16string> FrequentNounForms(size_t count);

// The text with its first letter in upper case (Cyrillic and ASCII).
std::u16string Capitalised(std::u16string text);

}  // namespace kestrova::bench
