#include "tools/dictc/lexicon.h"

#include <charconv>
#include <fstream>
#include <stdexcept>

namespace kestrova::dictc {
namespace {

std::vector<std::string_view> SplitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (true) {
        size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? tab : tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

class LineParser {
public:
    LineParser(const std::filesystem::path& path, Lexicon& lexicon)
        : path_(path), lexicon_(lexicon) {}

    void Parse(std::string_view line, size_t number) {
        number_ = number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty() || line[0] == '#') return;
        std::vector<std::string_view> fields = SplitTabs(line);
        if (fields[0] == "G") {
            Expect(fields.size() == 3, "a grammeme line needs a name and an alias");
            lexicon_.grammemeNames[std::string(fields[1])] = std::string(fields[2]);
        } else if (fields[0] == "T") {
            Expect(fields.size() == 2 && !fields[1].empty(), "a tag line needs one tag");
            lexicon_.tags.emplace_back(fields[1]);
        } else if (fields[0] == "L") {
            ParseLexeme(fields);
        } else if (fields[0] == "P") {
            Expect(fields.size() == 4 && !fields[1].empty(),
                   "a weight line needs a form, a tag and a weight");
            lexicon_.weights.push_back(FormWeight{std::string(fields[1]), Number(fields[2], true),
                                                  Number(fields[3], false)});
        } else {
            Fail("unknown record type '" + std::string(fields[0]) + "'");
        }
    }

private:
    void ParseLexeme(const std::vector<std::string_view>& fields) {
        Expect(fields.size() >= 3 && fields.size() % 2 == 1, "a lexeme line needs form/tag pairs");
        Lexeme lexeme;
        lexeme.forms.reserve(fields.size() / 2);
        for (size_t i = 1; i < fields.size(); i += 2) {
            Expect(!fields[i].empty(), "empty word form");
            lexeme.forms.push_back(Form{std::string(fields[i]), Number(fields[i + 1], true)});
        }
        lexicon_.lexemes.push_back(std::move(lexeme));
    }

    uint32_t Number(std::string_view field, bool isTag) {
        uint32_t value = 0;
        auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), value);
        Expect(error == std::errc() && end == field.data() + field.size() && !field.empty(),
               "bad number '" + std::string(field) + "'");
        Expect(!isTag || value < lexicon_.tags.size(),
               "tag number " + std::to_string(value) + " is not defined");
        return value;
    }

    void Expect(bool condition, const std::string& what) {
        if (!condition) Fail(what);
    }
    [[noreturn]] void Fail(const std::string& what) {
        throw std::runtime_error(path_.string() + ":" + std::to_string(number_) + ": " + what);
    }

    const std::filesystem::path& path_;
    Lexicon& lexicon_;
    size_t number_ = 0;
};

}  // namespace

uint32_t Lexicon::TagId(std::string_view tag) {
    if (tagIds_.size() != tags.size()) {
        tagIds_.clear();
        for (uint32_t i = 0; i < tags.size(); ++i) tagIds_.emplace(tags[i], i);
    }
    auto found = tagIds_.find(tag);
    if (found != tagIds_.end()) return found->second;
    tags.emplace_back(tag);
    tagIds_.emplace(std::string(tag), uint32_t(tags.size() - 1));
    return uint32_t(tags.size() - 1);
}

void Lexicon::Add(const std::vector<std::pair<std::string, std::string>>& forms) {
    Lexeme lexeme;
    for (const auto& [word, tag] : forms) lexeme.forms.push_back(Form{word, TagId(tag)});
    lexemes.push_back(std::move(lexeme));
}

Lexicon ReadLexicon(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path.string() + ": cannot open the lexicon");
    Lexicon lexicon;
    LineParser parser(path, lexicon);
    std::string line;
    size_t number = 0;
    while (std::getline(in, line)) parser.Parse(line, ++number);
    if (in.bad()) throw std::runtime_error(path.string() + ": read error");
    return lexicon;
}

}  // namespace kestrova::dictc
