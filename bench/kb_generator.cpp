#include "bench/kb_generator.h"

#include "bench/kb_vocabulary.h"
#include "platform/codepage.h"

#include <fstream>
#include <stdexcept>
#include <system_error>

namespace kestrova::bench {
namespace {

namespace fs = std::filesystem;

constexpr const char* kMarker = ".kestrova-genkb";
constexpr int32_t kPagesPerLeaf = 12;

struct Domain {
    const char* tag;
    std::u16string_view name;
    const char* order;
    std::u16string_view root;
};

constexpr Domain kDomains[] = {
    {"law", u"Право", "top", u"Законодательство"},
    {"tax", u"Налоги", "2", u"Налоги и сборы"},
    {"labor", u"Трудовые отношения", "3", u"Трудовое право"},
    {"tech", u"Техника", "bottom", u"Технические регламенты"},
};
constexpr uint32_t kDomainCount = 4;

enum class Charset { kDeclared1251, kMetaUtf8, kMeta1251, kBomOnly };

std::u16string U16(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

uint64_t Mix(uint64_t seed, uint64_t a, uint64_t b = 0) {
    KbRandom r(seed ^ (a * 0x9E3779B97F4A7C15ull) ^ (b * 0xC2B2AE3D27D4EB4Full));
    return r.Next();
}

// A chapter or keyword name that depends only on the seed and the key, so that every page
// naming the same chapter writes the same text.
std::u16string NameFor(uint64_t seed, uint64_t a, uint64_t b) {
    KbRandom random(Mix(seed, a, b));
    return Capitalised(RandomNounPhrase(random, Case::kNom, random.Below(2) == 0, true).text);
}

// Where page i stands: its leaf chapter, the steps of its default-profile chapter path and the
// order of the last step.
struct Place {
    uint32_t leaf = 0;
    uint32_t domain = 0;
    std::vector<std::u16string> steps;
    std::string order;
    bool hidden = false;
    bool ownChapter =
        false;  // the last step belongs to this leaf alone (it may have an index page)
};

Place PlaceOf(uint64_t seed, int32_t page) {
    Place p;
    p.leaf = static_cast<uint32_t>(page / kPagesPerLeaf);
    p.domain = p.leaf % kDomainCount;
    const uint32_t r = p.leaf / kDomainCount;
    const uint32_t section = r / 40 + 1, chapter = (r / 8) % 5 + 1, paragraph = r % 8 + 1;
    const uint32_t depth = 3 + static_cast<uint32_t>(Mix(seed, p.leaf) % 3);
    const uint64_t key = p.domain * 1000 + section;
    p.steps.push_back(std::u16string(kDomains[p.domain].root));
    p.steps.push_back(u"Раздел " + U16(std::to_string(section)) + u". " + NameFor(seed, key, 0));
    p.steps.push_back(u"Глава " + U16(std::to_string(chapter)) + u". " +
                      NameFor(seed, key * 10 + chapter, 1));
    uint32_t last = chapter;
    p.ownChapter = depth >= 4;
    if (depth >= 4) {
        p.steps.push_back(u"§ " + U16(std::to_string(paragraph)) + u". " +
                          NameFor(seed, key * 100 + chapter * 10 + paragraph, 2));
        last = paragraph;
    }
    if (depth == 5) {
        const uint32_t item = static_cast<uint32_t>(page % kPagesPerLeaf) / 4 + 1;
        p.steps.push_back(u"Пункт " + U16(std::to_string(item)));
        last = item;
        p.hidden = item == 3 && paragraph == 8;
    }
    p.order = last == 1 && chapter % 2 == 0 ? "top" : last == 9 ? "bottom" : std::to_string(last);
    return p;
}

std::u16string Joined(const std::vector<std::u16string>& steps) {
    std::u16string path;
    for (const std::u16string& s : steps) path += (path.empty() ? u"" : u"\\") + s;
    return path;
}

class PageWriter {
public:
    PageWriter(uint64_t seed, int32_t page, Charset charset)
        : seed_(seed), page_(page), charset_(charset) {}

    // The page at `place` (PlaceOf the page).
    std::string Write(const Place& place, size_t targetBytes, KbRandom& random);

private:
    void Ascii(std::string_view text) { out_ += text; }
    void Text(const std::u16string& text) {
        const bool cp1251 = charset_ == Charset::kDeclared1251 || charset_ == Charset::kMeta1251;
        out_ +=
            platform::EncodeText(cp1251 ? platform::kCodePage1251 : platform::kCodePageUtf8, text);
    }
    void Head(const std::u16string& title);
    void Navigation(const Place& place);
    void Paragraph(KbRandom& random, int32_t n);

    uint64_t seed_;
    int32_t page_;
    Charset charset_;
    std::string out_;
};

void PageWriter::Head(const std::u16string& title) {
    if (charset_ == Charset::kBomOnly) Ascii("\xEF\xBB\xBF");
    Ascii("<!DOCTYPE html>\n<html>\n<head>\n");
    switch (charset_) {
        case Charset::kDeclared1251:
            Ascii(
                "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=windows-1251\">\n");
            break;
        case Charset::kMetaUtf8:
            Ascii("<meta charset=\"utf-8\">\n");
            break;
        case Charset::kMeta1251:
            Ascii("<meta charset=\"windows-1251\">\n");
            break;
        case Charset::kBomOnly:
            break;
    }
    Ascii("<title>");
    Text(title);
    Ascii("</title>\n");
}

void PageWriter::Navigation(const Place& place) {
    const Domain& domain = kDomains[place.domain];
    const std::string number = std::to_string(page_ + 1);
    Ascii(std::string("<meta domain=\"") + domain.tag + "\" display-name=\"");
    Text(std::u16string(domain.name));
    Ascii(std::string("\" order=\"") + domain.order + "\" domain-chapter=\"");
    Text(std::u16string(domain.root));
    Ascii("\">\n<meta chapter=\"");
    Text(Joined(place.steps));
    Ascii("\" order=\"" + place.order + (place.hidden ? "\" location=\"hidden\">\n" : "\">\n"));
    const int32_t inLeaf = page_ % kPagesPerLeaf;
    if (inLeaf == 0 && place.ownChapter) {
        Ascii("<meta content=\"_Index\">\n");
    } else if (page_ % 7 == 3) {
        Ascii("<meta content=\"_Default\">\n");
    } else {
        Ascii("<meta content=\"");
        Text(u"Статья " + U16(number));
        Ascii("\" order=\"" + std::to_string(inLeaf + 1) + "\">\n");
    }
    if (place.leaf % 3 == 0) {  // a second profile: the printed edition, two levels deep
        Ascii("<meta chapter=\"");
        Text(u"Печатное издание\\Том " + U16(std::to_string(place.domain + 1)) + u"\\" +
             place.steps[1]);
        Ascii("\" profile=\"Print\" order=\"" + std::to_string(place.leaf) +
              "\">\n<meta content=\"");
        Text(u"Ст. " + U16(number));
        Ascii("\" profile=\"print\">\n");
    }
    Ascii("<meta name=\"keywords\" content=\"");
    Text(NameFor(seed_, static_cast<uint64_t>(page_ % 1500), 3) + u", " +
         NameFor(seed_, place.leaf, 4));
    Ascii("\">\n<meta keyword=\"");
    // The same keyword in another letter case on other pages, with an anchor.
    std::u16string keyword = NameFor(seed_, static_cast<uint64_t>(page_ % 700), 5);
    if (page_ % 2 == 1)
        keyword[0] = static_cast<char16_t>(keyword[0] == u'Ё' ? u'ё' : keyword[0] + 0x20);
    Text(keyword);
    Ascii("\" anchor=\"p2\">\n<meta help-id=\"kb." + number +
          (page_ % 2 ? "\">\n" : "\" anchor=\"p1\">\n"));
}

void PageWriter::Paragraph(KbRandom& random, int32_t n) {
    Ascii("<p><a name=\"p" + std::to_string(n) + "\"></a>");
    const uint32_t sentences = 3 + random.Below(4);
    for (uint32_t s = 0; s < sentences; ++s) {
        std::u16string sentence = RandomSentence(random);
        switch (random.Below(10)) {
            case 0:
                Ascii("<b>");
                Text(sentence);
                Ascii("</b>");
                break;
            case 1:
                Ascii("&laquo;");
                Text(sentence.substr(0, sentence.size() - 1));
                Ascii("&raquo;.");
                break;
            default:
                Text(sentence);
                break;
        }
        Ascii(s + 1 < sentences ? (random.Below(8) == 0 ? "&nbsp;" : " ") : "");
    }
    Ascii("</p>\n");
}

std::string PageWriter::Write(const Place& place, size_t targetBytes, KbRandom& random) {
    const std::u16string title = u"Статья " + U16(std::to_string(page_ + 1)) + u". " +
                                 NameFor(seed_, static_cast<uint64_t>(page_), 6);
    Head(title);
    Navigation(place);
    Ascii("</head>\n<body>\n<h1>");
    Text(title);
    Ascii("</h1>\n");
    constexpr std::string_view kTail = "</body>\n</html>\n";
    for (int32_t n = 1; out_.size() + kTail.size() < targetBytes; ++n) {
        if (n % 6 == 0) {
            Ascii("<h2>");
            Text(NameFor(seed_, static_cast<uint64_t>(page_) * 100 + static_cast<uint64_t>(n), 7));
            Ascii("</h2>\n");
        }
        Paragraph(random, n);
    }
    Ascii(kTail);
    return std::move(out_);
}

void PrepareFolder(const fs::path& dir) {
    std::error_code error;
    if (fs::exists(dir, error) && !fs::is_empty(dir, error)) {
        if (!fs::exists(dir / kMarker)) {
            throw std::runtime_error(dir.string() +
                                     ": folder is not empty and was not written by the generator");
        }
        fs::remove_all(dir, error);
        if (error) throw std::runtime_error(dir.string() + ": cannot clear: " + error.message());
    }
    fs::create_directories(dir, error);
    if (error) throw std::runtime_error(dir.string() + ": cannot create: " + error.message());
    std::ofstream(dir / kMarker) << "written by kestrova-genkb\n";
}

}  // namespace

uint64_t KbRandom::Next() {
    uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

KbSummary GenerateKnowledgeBase(const fs::path& dir, const KbOptions& options) {
    if (options.pages < 0 || options.pageKb <= 0)
        throw std::runtime_error("page count and page size must be positive");
    PrepareFolder(dir);
    KbSummary summary;
    const size_t target = static_cast<size_t>(options.pageKb) * 1024;
    for (int32_t i = 0; i < options.pages; ++i) {
        const Place place = PlaceOf(options.seed, i);
        const fs::path folder = dir / kDomains[place.domain].tag /
                                ("section" + std::to_string(place.leaf / 160)) /
                                ("leaf" + std::to_string(place.leaf));
        std::error_code error;
        fs::create_directories(folder, error);
        KbRandom random(Mix(options.seed, static_cast<uint64_t>(i), 8));
        const std::string bytes =
            PageWriter(options.seed, i, static_cast<Charset>(i % 4)).Write(place, target, random);
        const fs::path file = folder / ("page" + std::to_string(i + 1) + ".html");
        std::ofstream out(file, std::ios::binary);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out.flush()) throw std::runtime_error(file.string() + ": cannot write");
        summary.bytes += static_cast<int64_t>(bytes.size());
        ++summary.pages;
    }
    return summary;
}

std::vector<std::u16string> GeneratedPhrases(uint64_t seed, size_t count) {
    KbRandom random(seed);
    std::vector<std::u16string> phrases;
    for (size_t i = 0; i < count; ++i) {
        phrases.push_back(
            RandomNounPhrase(random, static_cast<Case>(random.Below(6)), random.Below(3) == 0, true)
                .text);
    }
    return phrases;
}

}  // namespace kestrova::bench
