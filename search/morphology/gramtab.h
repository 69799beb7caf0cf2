// The grammatical code table ("rgramtab.tab", code page 1251): per two-byte code a letter,
// a part of speech and comma-separated grammatical features; "//" starts a comment.
#pragma once

#include "search/morphology/mem_file.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace kestrova {

struct GramCode {
    std::string letter;
    std::string partOfSpeech;
    std::string features;
};

class Gramtab {
public:
    // Reads the table; false when a code line is malformed or no code is defined.
    bool Load(MemFile& file);
    // The entry of a two-byte code, or null.
    const GramCode* Find(std::string_view code) const;
    std::size_t Size() const { return codes_.size(); }

private:
    std::unordered_map<std::string, GramCode> codes_;
};

}  // namespace kestrova
