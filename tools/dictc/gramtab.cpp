#include "tools/dictc/gramtab.h"

#include <stdexcept>

#include "platform/codepage.h"

namespace kestrova::dictc {
namespace {

const std::string& FirstCodeBytes() {
    static const std::string bytes = [] {
        std::string result;
        for (int c = 224; c < 256; ++c) result.push_back(char(c));
        for (int c = 192; c < 224; ++c) result.push_back(char(c));
        for (char c = 'a'; c <= 'z'; ++c) result.push_back(c);
        for (char c = 'A'; c <= 'Z'; ++c) result.push_back(c);
        return result;
    }();
    return bytes;
}

const std::string& SecondCodeBytes() {
    static const std::string bytes = FirstCodeBytes().substr(0, 64);
    return bytes;
}

std::vector<std::string> Grammemes(const std::string& tag) {
    std::vector<std::string> result;
    std::string current;
    for (char c : tag) {
        if (c == ',' || c == ' ') {
            if (!current.empty()) result.push_back(std::move(current));
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) result.push_back(std::move(current));
    return result;
}

std::string Cp1251(const std::string& utf8) {
    return platform::EncodeText(platform::kCodePage1251, platform::Utf8ToUtf16(utf8));
}

std::string Readable(const Lexicon& lexicon, const std::string& grammeme) {
    auto found = lexicon.grammemeNames.find(grammeme);
    return Cp1251(found == lexicon.grammemeNames.end() || found->second.empty() ? grammeme
                                                                                : found->second);
}

}  // namespace

std::string GramCode(uint32_t tag) {
    const size_t second = SecondCodeBytes().size();
    if (tag / second >= FirstCodeBytes().size()) {
        throw std::runtime_error("too many grammatical tags for two-character codes: " +
                                 std::to_string(tag + 1));
    }
    return std::string{FirstCodeBytes()[tag / second], SecondCodeBytes()[tag % second]};
}

std::string GramtabText(const Lexicon& lexicon) {
    std::string text =
        "// Grammatical codes of the Russian dictionary, made from OpenCorpora tags.\n"
        "// code, kind letter, part of speech, grammatical features\n";
    for (uint32_t tag = 0; tag < lexicon.tags.size(); ++tag) {
        std::vector<std::string> grammemes = Grammemes(lexicon.tags[tag]);
        if (grammemes.empty())
            throw std::runtime_error("empty grammatical tag " + std::to_string(tag));
        std::string features;
        for (size_t i = 1; i < grammemes.size(); ++i) {
            if (i > 1) features += ',';
            features += Readable(lexicon, grammemes[i]);
        }
        text += GramCode(tag) + " \xC0 " + Readable(lexicon, grammemes[0]);
        if (!features.empty()) text += " " + features;
        text += "\n";
    }
    return text;
}

}  // namespace kestrova::dictc
