// The handler that collects the navigation data of a page head: the title, the charset and
// the `meta` elements of the page vocabulary, all as byte strings. Used in strict mode; it stops
// the scan at the `body` start tag. One extractor per page at a time; Reset() readies it for the
// next page, keeping the memory of the strings it collected.
#pragma once

#include "model/page/html_content_handler.h"

#include <array>
#include <string>
#include <vector>

namespace kestrova {

// What one page declared, before decoding.
struct CollectedMeta {
    struct Step {
        std::string name;
        std::string profile;  // empty for the default profile
        int32_t order = 0;
        bool hidden = false;
    };
    struct Domain {
        std::string tag, displayName, chapter;
        int32_t order = 0;
    };
    struct Content {
        std::string text, anchor, profile;
        int32_t order = 0;
        bool index = false;
    };
    struct Pair {
        std::string text, anchor;
    };

    std::string charset;  // the last declaration wins; empty gives code page 0
    std::string title;
    bool rootChapter = false;
    bool ignored = false;
    std::vector<Step> steps;  // in document order across all profiles
    std::vector<Domain> domains;
    std::vector<Content> contents;
    std::string keywordString;  // ",content" of every keywords meta
    std::vector<Pair> keywords;
    std::vector<Pair> helpIds;
};

class InfoExtractor final : public IHtmlContentHandler {
public:
    InfoExtractor();
    void OnByteOrderMark(bool present) override;
    bool OnStartTag(std::string_view name) override;
    bool OnTagWithAttributes(std::string_view name) override;
    void OnAttribute(std::string_view name, std::string_view value) override;
    // Classifies a finished `meta` element; throws std::runtime_error with "wrong int ..." or
    // "both chapter and root chapter are set". Collected attributes are kept until
    // classification succeeds, so a repeated call fails the same way.
    void OnAttributesEnd() override;
    void OnEndTag(std::string_view name) override;
    void OnText(std::string_view text) override;

    const CollectedMeta& Collected() const { return meta_; }
    // Forgets everything collected, as a new extractor; the strings' memory is kept for reuse.
    void Reset();

    // The vocabulary attributes, in slot order.
    enum Slot {
        kHttpEquiv,
        kContent,
        kName,
        kDomain,
        kDisplayName,
        kOrder,
        kDomainChapter,
        kChapter,
        kLocation,
        kHelpId,
        kControl,
        kKeyword,
        kAnchor,
        kCharset,
        kProfile,
        kSlotCount
    };

private:
    void Classify();
    void AddChapter();
    void ClearAttributes();
    const std::string& Get(Slot slot) const { return slots_[slot]; }
    // A string holding `text`, made from a spare one when there is one.
    std::string Take(std::string_view text);
    // Keeps the string's memory as a spare (unless it is large).
    void Recycle(std::string& s);

    CollectedMeta meta_;
    bool inTitle_ = false;  // the current tag is `title`
    bool inMeta_ = false;   // the tag whose attributes are collected is `meta`
    std::array<std::string, kSlotCount> slots_;
    bool hasContent_ = false;
    bool hasChapter_ = false;
    std::vector<std::string> spares_;
};

}  // namespace kestrova
