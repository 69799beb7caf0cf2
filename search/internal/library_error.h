// The text of an error of the index library, for a message of ours.
#pragma once

#include <CLucene.h>

#include <string>

namespace kestrova {

// The first line of the error's text in UTF-8 (the query parser adds what it expected, line
// by line, after it), without trailing blanks.
std::string LibraryErrorText(CLuceneError& error);

}  // namespace kestrova
