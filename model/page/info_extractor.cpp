#include "model/page/info_extractor.h"

#include "model/page/charset.h"
#include "model/page/order_value.h"
#include "model/page/page_strings.h"

#include <array>
#include <stdexcept>

namespace kestrova {
namespace {

// Equality with a lower-case ASCII literal, ignoring the case of letters. Inline: it runs for
// every tag and attribute of a head.
inline bool EqualsAsciiNoCase(std::string_view text, std::string_view lowerLiteral) {
    if (text.size() != lowerLiteral.size()) return false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char l = lowerLiteral[i];
        const char c = (l >= 'a' && l <= 'z') ? static_cast<char>(text[i] | 0x20) : text[i];
        if (c != l) return false;
    }
    return true;
}

constexpr std::string_view kSlotNames[InfoExtractor::kSlotCount] = {
    "http-equiv", "content",        "name",    "domain",   "display-name",
    "order",      "domain-chapter", "chapter", "location", "help-id",
    "control",    "keyword",        "anchor",  "charset",  "profile"};

// The slots of each name length, so that a name is compared with few names.
struct SlotsOfLength {
    int count = 0;
    int slots[InfoExtractor::kSlotCount] = {};
};
constexpr size_t kLongestName = 14;
constexpr std::array<SlotsOfLength, kLongestName + 1> MakeSlotsByLength() {
    std::array<SlotsOfLength, kLongestName + 1> table{};
    for (int i = 0; i < InfoExtractor::kSlotCount; ++i) {
        SlotsOfLength& entry = table[kSlotNames[i].size()];
        entry.slots[entry.count++] = i;
    }
    return table;
}
constexpr std::array<SlotsOfLength, kLongestName + 1> kSlotsByLength = MakeSlotsByLength();

int FindSlot(std::string_view name) {
    if (name.size() > kLongestName) return -1;
    const SlotsOfLength& candidates = kSlotsByLength[name.size()];
    const char first = static_cast<char>(name.empty() ? 0 : name[0] | 0x20);
    for (int k = 0; k < candidates.count; ++k) {
        const int i = candidates.slots[k];
        // Names are mostly written in lower case: a plain comparison settles those.
        if (kSlotNames[i][0] == first &&
            (name == kSlotNames[i] || EqualsAsciiNoCase(name, kSlotNames[i])))
            return i;
    }
    return -1;
}

// The profile name as collected: empty for the default profile.
std::string_view ProfileOf(const std::string& raw) {
    return EqualsAsciiNoCase(raw, "_default") ? std::string_view() : std::string_view(raw);
}

// Strings with more memory than this are freed on reset rather than kept for the next page.
constexpr size_t kKeptString = 4096;

[[noreturn]] void BothChapters() {
    throw std::runtime_error("both chapter and root chapter are set");
}

}  // namespace

void InfoExtractor::OnByteOrderMark(bool) { meta_.charset = "utf-8"; }

InfoExtractor::InfoExtractor() { meta_.steps.reserve(8); }

bool InfoExtractor::OnStartTag(std::string_view name) {
    if (EqualsAsciiNoCase(name, "body")) return false;
    inTitle_ = EqualsAsciiNoCase(name, "title");
    return true;
}

bool InfoExtractor::OnTagWithAttributes(std::string_view name) {
    if (!OnStartTag(name)) return false;
    inMeta_ = EqualsAsciiNoCase(name, "meta");
    return true;
}

void InfoExtractor::OnAttribute(std::string_view name, std::string_view value) {
    if (!inMeta_) return;
    const int slot = FindSlot(name);
    if (slot < 0) return;
    slots_[slot].assign(value);
    if (slot == kContent) hasContent_ = true;
    if (slot == kChapter) hasChapter_ = true;
}

void InfoExtractor::OnAttributesEnd() {
    if (inMeta_) Classify();
    ClearAttributes();
}

void InfoExtractor::OnEndTag(std::string_view) { inTitle_ = false; }

void InfoExtractor::OnText(std::string_view text) {
    if (inTitle_) meta_.title.assign(text);
}

std::string InfoExtractor::Take(std::string_view text) {
    // Short texts fit in the string itself.
    if (spares_.empty() || text.size() <= std::string().capacity()) return std::string(text);
    std::string s = std::move(spares_.back());
    spares_.pop_back();
    s.assign(text);
    return s;
}

void InfoExtractor::Recycle(std::string& s) {
    if (s.capacity() > kKeptString) return;
    if (s.capacity() > std::string().capacity()) spares_.push_back(std::move(s));
}

void InfoExtractor::Reset() {
    for (CollectedMeta::Step& x : meta_.steps) Recycle(x.name), Recycle(x.profile);
    for (CollectedMeta::Domain& x : meta_.domains)
        Recycle(x.tag), Recycle(x.displayName), Recycle(x.chapter);
    for (CollectedMeta::Content& x : meta_.contents)
        Recycle(x.text), Recycle(x.anchor), Recycle(x.profile);
    for (CollectedMeta::Pair& x : meta_.keywords) Recycle(x.text), Recycle(x.anchor);
    for (CollectedMeta::Pair& x : meta_.helpIds) Recycle(x.text), Recycle(x.anchor);
    meta_.steps.clear();
    meta_.domains.clear();
    meta_.contents.clear();
    meta_.keywords.clear();
    meta_.helpIds.clear();
    for (std::string* s : {&meta_.charset, &meta_.title, &meta_.keywordString}) {
        if (s->capacity() > kKeptString) std::string().swap(*s);
        s->clear();
    }
    meta_.rootChapter = meta_.ignored = false;
    inTitle_ = false;
    for (std::string& s : slots_) {
        if (s.capacity() > kKeptString) std::string().swap(s);
    }
    ClearAttributes();
}

void InfoExtractor::ClearAttributes() {
    inMeta_ = false;
    for (std::string& s : slots_) s.clear();
    hasContent_ = hasChapter_ = false;
}

void InfoExtractor::Classify() {
    const std::string& content = Get(kContent);
    if (!Get(kHttpEquiv).empty() && !content.empty()) {
        std::string charset;
        if (EqualsAsciiNoCase(Get(kHttpEquiv), "content-type") &&
            CharsetFromContentType(content, charset))
            meta_.charset = charset;
    } else if (!Get(kName).empty() && !content.empty()) {
        if (EqualsAsciiNoCase(Get(kName), "keywords"))
            meta_.keywordString.append(",").append(content);
    } else if (!Get(kDomain).empty()) {
        const std::string& order = Get(kOrder);
        meta_.domains.push_back({Take(Get(kDomain)), Take(Get(kDisplayName)),
                                 Take(Get(kDomainChapter)),
                                 order.empty() ? 0 : OrderValue(TrimSpaces(order))});
    } else if (hasChapter_) {
        AddChapter();
    } else if (!Get(kHelpId).empty()) {
        meta_.helpIds.push_back({Take(TrimSpaces(Get(kHelpId))), Take(TrimSpaces(Get(kAnchor)))});
    } else if (!Get(kControl).empty()) {
        if (EqualsAsciiNoCase(Get(kControl), "ignore")) meta_.ignored = true;
    } else if (!Get(kKeyword).empty()) {
        meta_.keywords.push_back({Take(Get(kKeyword)), Take(TrimSpaces(Get(kAnchor)))});
    } else if (hasContent_) {
        CollectedMeta::Content entry;
        entry.index = EqualsAsciiNoCase(content, "_index");
        if (!entry.index && !EqualsAsciiNoCase(content, "_default")) entry.text = Take(content);
        entry.order = Get(kOrder).empty() ? 0 : OrderValue(Get(kOrder));
        entry.anchor = Take(Get(kAnchor));
        entry.profile = Take(ProfileOf(Get(kProfile)));
        meta_.contents.push_back(std::move(entry));
    } else if (!Get(kCharset).empty()) {
        meta_.charset = Get(kCharset);
    }
}

void InfoExtractor::AddChapter() {
    const std::string& value = Get(kChapter);
    if (EqualsAsciiNoCase(value, "_root")) {
        if (!meta_.steps.empty()) BothChapters();
        meta_.rootChapter = true;
        return;
    }
    if (meta_.rootChapter) BothChapters();
    const size_t before = meta_.steps.size();
    const std::string_view profile = ProfileOf(Get(kProfile));
    const std::string_view steps(value);
    size_t start = 0;
    while (start <= steps.size()) {
        size_t end = steps.find('\\', start);
        if (end == std::string_view::npos) end = steps.size();
        if (end > start)
            meta_.steps.push_back(
                {Take(steps.substr(start, end - start)), Take(profile), 0, false});
        start = end + 1;
    }
    if (meta_.steps.size() == before) return;
    CollectedMeta::Step& last = meta_.steps.back();
    last.order = OrderValue(TrimSpaces(Get(kOrder)));
    last.hidden = EqualsAsciiNoCase(Get(kLocation), "hidden");
}

}  // namespace kestrova
