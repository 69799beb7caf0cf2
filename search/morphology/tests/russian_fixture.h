// A small Russian dictionary for the lemmatizer and holder tests.
#pragma once

#include "search/morphology/tests/dict_fixture.h"

namespace kestrova::testing {

// Models: 0 ЗАКОН, 1 СДЕЛАТЬ, 2 ЕЛКА, 3 ЛУЧШИЙ (item 1 with the item prefix НАИ),
// 4 ЗВОНОК (flag 255), 5 ПРИБЫЛЬ, 6 ПРИБЫТЬ. Prefix sets: 1 ПО, 2 ПРО.
// Lexemes: ЗАКОН, СДЕЛАТЬ, ЕЛКА, ЛУЧШИЙ, ЗВОНОК, ПРИБЫЛЬ, ПРИБЫТЬ, ПОЛУЧШИЙ (set 1).
DictFixture RussianFixture();

}  // namespace kestrova::testing
