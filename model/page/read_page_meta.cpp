#include "model/page/read_page_meta.h"

#include "model/page/html_scanner.h"
#include "model/page/page_strings.h"
#include "model/page/references.h"
#include "model/page/text_decoder.h"
#include "platform/file.h"
#include "platform/path.h"

#include <fcntl.h>
#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace kestrova {
namespace {

// Every blank, TAB, LF, VT or CR becomes a blank, and runs of blanks become one. The result is
// written to a buffer of the thread's, valid until the next call there.
std::string_view ReduceSpaces(std::string_view text) {
    constexpr size_t kKept = size_t{1} << 16;  // a larger buffer is not kept for smaller texts
    thread_local std::string out;
    if (out.capacity() > kKept && text.size() <= kKept) std::string().swap(out);
    out.resize(text.size());
    // The five spaces of IsTrimSpace as bits, tested by one shift.
    constexpr uint64_t kSpaces = (uint64_t{1} << ' ') | (uint64_t{1} << '\t') |
                                 (uint64_t{1} << '\n') | (uint64_t{1} << '\v') |
                                 (uint64_t{1} << '\r');
    char* const begin = out.data();
    char* o = begin;
    for (const char c : text) {
        const auto b = static_cast<unsigned char>(c);
        if (b > ' ' || ((kSpaces >> b) & 1) == 0)
            *o++ = c;
        else if (o == begin || o[-1] != ' ')
            *o++ = ' ';
    }
    return std::string_view(begin, static_cast<size_t>(o - begin));
}

// The bytes converted, with their character references decoded; most texts have none and are
// kept as they are, without a copy. '&' is byte 0x26 in every code page read here and no
// other byte converts to it, so bytes without it give text without it.
std::u16string Decoded(const TextDecoder& decoder, std::string_view bytes) {
    std::u16string text = decoder.Convert(bytes);
    if (bytes.find('&') == std::string_view::npos || text.find(u'&') == std::u16string::npos)
        return text;
    return DecodeReferences(text);
}

// The non-empty parts of a text split at `separator`.
std::vector<std::string_view> SplitParts(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(separator, start);
        if (end == std::string_view::npos) end = text.size();
        if (end > start) parts.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

std::u16string LowerProfile(const TextDecoder& decoder, const std::string& profile) {
    return profile.empty() ? std::u16string() : LowerCase(decoder.Convert(profile));
}

int32_t ChapterIndex(const CollectedMeta& collected, const std::string& domainChapter) {
    const std::vector<std::string_view> parts = SplitParts(domainChapter, '\\');
    if (parts.empty()) return -1;
    bool fits = collected.steps.size() >= parts.size();
    for (size_t i = 0; fits && i < parts.size(); ++i) fits = collected.steps[i].name == parts[i];
    if (!fits) throw std::runtime_error("domain-chapter doesn't fit with chapter");
    return static_cast<int32_t>(parts.size() - 1);
}

void BuildKeywords(const CollectedMeta& collected, const TextDecoder& decoder, PageMeta& page) {
    const std::string_view rest = ReduceSpaces(collected.keywordString);
    page.keywords.reserve(static_cast<size_t>(std::count(rest.begin(), rest.end(), ',')) +
                          collected.keywords.size());
    for (size_t start = 0; start < rest.size();) {
        const size_t end = std::min(rest.find(',', start), rest.size());
        if (end > start)
            page.keywords.push_back(
                {decoder.Convert(TrimSpaces(rest.substr(start, end - start))), {}});
        start = end + 1;
    }
    for (const CollectedMeta::Pair& k : collected.keywords) {
        page.keywords.push_back({decoder.Convert(k.text), decoder.Convert(k.anchor)});
    }
}

}  // namespace

void BuildPageMeta(const CollectedMeta& collected, PageMeta& page) {
    const TextDecoder decoder(collected.charset);
    page.title = Decoded(decoder, ReduceSpaces(TrimSpaces(collected.title)));
    page.rootChapter = collected.rootChapter;
    page.ignored = collected.ignored;
    for (const CollectedMeta::Content& c : collected.contents) {
        page.contents.For(LowerProfile(decoder, c.profile))
            .push_back({decoder.Convert(c.text), decoder.Convert(c.anchor), c.order, c.index});
    }
    BuildKeywords(collected, decoder, page);
    page.helpIds.reserve(collected.helpIds.size());
    for (const CollectedMeta::Pair& h : collected.helpIds) {
        page.helpIds.push_back({decoder.Convert(h.text), decoder.Convert(h.anchor)});
    }
    const auto inDefaultProfile = [](const CollectedMeta::Step& s) { return s.profile.empty(); };
    if (std::all_of(collected.steps.begin(), collected.steps.end(), inDefaultProfile)) {
        page.chapters.defaultList.reserve(collected.steps.size());
    }
    for (const CollectedMeta::Step& s : collected.steps) {
        page.chapters.For(LowerProfile(decoder, s.profile))
            .push_back({Decoded(decoder, s.name), s.order, s.hidden});
    }
    page.domains.reserve(collected.domains.size());
    for (const CollectedMeta::Domain& d : collected.domains) {
        page.domains.push_back({decoder.Convert(d.tag), Decoded(decoder, d.displayName), d.order,
                                ChapterIndex(collected, d.chapter)});
    }
}

bool ReadPageMeta(std::u16string_view fullPath, ILog& log, PageMeta& page) {
    return ReadPageMetaAt(
        AT_FDCWD, platform::NativePath(fullPath), [fullPath] { return std::u16string(fullPath); },
        log, page);
}

bool ReadPageMetaAt(int dirFd, const std::string& path,
                    const std::function<std::u16string()>& fullPath, ILog& log, PageMeta& page,
                    std::optional<platform::FileStamp>* stamp) {
    page = PageMeta{};
    // The thread's pages are read one at a time; reusing one extractor keeps its strings' memory.
    thread_local InfoExtractor extractor;
    try {
        extractor.Reset();
        platform::File file;
        HtmlScanner::OpenForScan(file, dirFd, path);
        if (platform::FileStamp opened; stamp && file.Stamp(opened)) *stamp = opened;
        HtmlScanner::ScanFile(file, true, extractor);
        file.Close();
        BuildPageMeta(extractor.Collected(), page);
        return true;
    } catch (const std::exception& e) {
        const std::u16string path = fullPath();
        log.WriteFormat("%S: %s", path.c_str(), e.what());
        return false;
    }
}

}  // namespace kestrova
