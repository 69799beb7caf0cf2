// The navigation record of one page, as its `meta` elements and its title declare it.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace kestrova {

// One step of a page's chapter path.
struct ChapterStep {
    std::u16string name;
    int32_t order = 0;
    bool hidden = false;
};

// A page's claim on a domain (category).
struct DomainEntry {
    std::u16string tag;
    std::u16string displayName;
    int32_t order = 0;
    // Index, within the page's chapter steps, of the last step named by `domain-chapter`,
    // or -1 when the entry names none.
    int32_t chapterIndex = -1;
};

// A table-of-contents entry of the page.
struct ContentEntry {
    std::u16string text;
    std::u16string anchor;
    int32_t order = 0;
    bool index = false;  // the entry is `_Index`
};

struct KeywordEntry {
    std::u16string text;
    std::u16string anchor;
};

struct HelpIdEntry {
    std::u16string id;
    std::u16string anchor;
};

// One list for the default profile and one per other profile, keyed by the lower-cased
// profile name.
template <class T>
struct PerProfile {
    std::vector<T> defaultList;
    std::map<std::u16string, std::vector<T>> profiles;

    // The list of a profile; the empty name is the default profile.
    std::vector<T>& For(const std::u16string& lowerProfile) {
        return lowerProfile.empty() ? defaultList : profiles[lowerProfile];
    }
};

struct PageMeta {
    std::u16string title;
    bool rootChapter = false;  // chapter = _Root
    bool ignored = false;      // control = ignore
    PerProfile<ChapterStep> chapters;
    std::vector<DomainEntry> domains;
    PerProfile<ContentEntry> contents;
    std::vector<KeywordEntry> keywords;
    std::vector<HelpIdEntry> helpIds;
};

}  // namespace kestrova
