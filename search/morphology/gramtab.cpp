#include "search/morphology/gramtab.h"

#include <vector>

namespace kestrova {
namespace {

std::vector<std::string_view> SplitBlanks(std::string_view s) {
    std::vector<std::string_view> fields;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && (s[i] == ' ' || s[i] == '\t')) ++i;
        std::size_t start = i;
        while (i < s.size() && s[i] != ' ' && s[i] != '\t') ++i;
        if (i > start) fields.push_back(s.substr(start, i - start));
    }
    return fields;
}

}  // namespace

bool Gramtab::Load(MemFile& file) {
    codes_.clear();
    char line[1024];
    while (file.ReadLine(line, sizeof line)) {
        std::string_view text = line;
        if (std::size_t comment = text.find("//"); comment != std::string_view::npos)
            text = text.substr(0, comment);
        while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.remove_suffix(1);
        std::vector<std::string_view> fields = SplitBlanks(text);
        if (fields.empty()) continue;
        if (fields.size() < 3 || fields[0].size() != 2) return false;
        GramCode& code = codes_[std::string(fields[0])];
        code.letter = fields[1];
        code.partOfSpeech = fields[2];
        code.features.clear();
        for (std::size_t i = 3; i < fields.size(); ++i) code.features += fields[i];
    }
    return !codes_.empty();
}

const GramCode* Gramtab::Find(std::string_view code) const {
    auto it = codes_.find(std::string(code));
    return it == codes_.end() ? nullptr : &it->second;
}

}  // namespace kestrova
