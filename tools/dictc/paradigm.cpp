#include "tools/dictc/paradigm.h"

#include <algorithm>

namespace kestrova::dictc {
namespace {

bool InAll(const std::vector<std::string>& forms, std::string_view part) {
    return std::all_of(forms.begin(), forms.end(), [&](const std::string& form) {
        return form.find(part) != std::string::npos;
    });
}

// The longest substring of the shortest form that occurs in every form (the first such one
// from the left when several have that length).
std::string LongestCommonSubstring(const std::vector<std::string>& forms) {
    const std::string& shortest =
        *std::min_element(forms.begin(), forms.end(),
                          [](const auto& a, const auto& b) { return a.size() < b.size(); });
    for (size_t length = shortest.size(); length > 0; --length) {
        for (size_t start = 0; start + length <= shortest.size(); ++start) {
            std::string_view part(shortest.data() + start, length);
            if (InAll(forms, part)) return std::string(part);
        }
    }
    return {};
}

std::string CommonBeginning(const std::vector<std::string>& forms) {
    std::string result = forms[0];
    for (const std::string& form : forms) {
        size_t n = 0;
        while (n < result.size() && n < form.size() && result[n] == form[n]) ++n;
        result.resize(n);
    }
    return result;
}

SplitLexeme ByBeginning(const std::vector<std::string>& forms) {
    SplitLexeme result{CommonBeginning(forms), {}};
    for (const std::string& form : forms)
        result.forms.push_back({"", form.substr(result.stem.size())});
    return result;
}

}  // namespace

SplitLexeme Split(const std::vector<std::string>& forms,
                  const std::vector<std::string>& itemPrefixes) {
    if (forms.size() == 1) return SplitLexeme{forms[0], {SplitForm{}}};
    SplitLexeme result{LongestCommonSubstring(forms), {}};
    if (result.stem.empty()) return ByBeginning(forms);
    for (const std::string& form : forms) {
        size_t at = form.find(result.stem);
        std::string prefix = form.substr(0, at);
        if (std::find(itemPrefixes.begin(), itemPrefixes.end(), prefix) == itemPrefixes.end()) {
            return ByBeginning(forms);
        }
        result.forms.push_back({std::move(prefix), form.substr(at + result.stem.size())});
    }
    return result;
}

}  // namespace kestrova::dictc
