// Page reading speed: generates 10,000 pages of about 20 KB (heads with a dozen meta elements,
// Russian text in windows-1251 and UTF-8) in a temporary folder and measures, best of 3 runs:
// (a) the I/O floor: open, read the first 4096 bytes, close; (b) ReadPageMeta; (c) a tolerant
// scan of every byte with a handler that does nothing.
// Usage: bench_page [PAGES [--keep]]; --keep leaves the generated folder in place.
#include "model/page/html_scanner.h"
#include "model/page/read_page_meta.h"
#include "platform/codepage.h"
#include "platform/file.h"
#include "platform/path.h"
#include "platform/text.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using namespace kestrova;
using Clock = std::chrono::steady_clock;

std::string Encode(bool utf8, const std::u16string& text) {
    return platform::EncodeText(utf8 ? platform::kCodePageUtf8 : platform::kCodePage1251, text);
}

std::string MakePage(int n, bool utf8) {
    const std::u16string words[] = {u"Налоговый", u"кодекс",  u"Российской",  u"Федерации",
                                    u"статья",    u"порядок", u"исчисления",  u"налога",
                                    u"на",        u"прибыль", u"организаций", u"и",
                                    u"сроки",     u"уплаты",  u"в",           u"бюджет"};
    std::string head =
        std::string("<!DOCTYPE html>\n<html>\n<head>\n") +
        "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=" +
        (utf8 ? "utf-8" : "windows-1251") + "\">\n" + "<title>" +
        Encode(utf8, u"Статья " + platform::Ascii16(std::to_string(n)) + u". Порядок исчисления") +
        "</title>\n" + "<meta name=\"keywords\" content=\"" +
        Encode(utf8, u"налог, прибыль, кодекс, статья") + "\">\n" +
        "<meta name=\"description\" content=\"\">\n" + "<meta domain=\"law\" display-name=\"" +
        Encode(utf8, u"Право") + "\" order=\"top\" domain-chapter=\"" + Encode(utf8, u"Кодексы") +
        "\">\n" + "<meta chapter=\"" + Encode(utf8, u"Кодексы\\Налоговый кодекс\\Глава ") +
        std::to_string(n % 40) + "\" order=\"" + std::to_string(n % 17) + "\">\n" +
        "<meta chapter=\"Print\\" + std::to_string(n) +
        "\" profile=\"Print\" location=\"hidden\">\n" + "<meta content=\"" +
        Encode(utf8, u"Статья ") + std::to_string(n) + "\" order=\"" + std::to_string(n % 9) +
        "\">\n" + "<meta content=\"_Index\" profile=\"Print\">\n" + "<meta keyword=\"" +
        Encode(utf8, u"налоговая база") + "\" anchor=\"p1\">\n" + "<meta keyword=\"" +
        Encode(utf8, u"ставка налога") + "\" anchor=\"p2\">\n" + "<meta help-id=\"" +
        std::to_string(1000 + n) + "\" anchor=\"top\">\n" +
        "<meta name=\"author\" content=\"Kestrova\">\n" +
        "<link rel=\"stylesheet\" href=\"../styles/main.css\">\n</head>\n<body>\n";
    std::string body;
    int w = n;
    while (head.size() + body.size() < 20000) {
        body += "<p class=\"text\" id=\"p" + std::to_string(body.size()) + "\">";
        for (int i = 0; i < 40; ++i)
            body += Encode(utf8, words[(w++ * 7) % 16]) + (i % 9 == 8 ? ", " : " ");
        body += "<a href=\"art" + std::to_string(w % 500) + ".html#p2\">" +
                Encode(utf8, u"см. статью") + "</a>";
        body += " <b>" + Encode(utf8, u"Примечание") + "</b>.</p>\n";
    }
    return head + body + "</body>\n</html>\n";
}

class NoOp final : public IHtmlContentHandler {
public:
    void OnByteOrderMark(bool) override {}
    bool OnStartTag(std::string_view) override { return true; }
    bool OnTagWithAttributes(std::string_view) override { return true; }
    void OnAttribute(std::string_view, std::string_view) override {}
    void OnAttributesEnd() override {}
    void OnEndTag(std::string_view) override {}
    void OnText(std::string_view) override {}
};

class NullLog final : public ILog {
public:
    int lines = 0;
    void Write(std::u16string_view) override { ++lines; }
    void WriteText(std::string_view) override { ++lines; }
};

template <class F>
double BestSeconds(F run) {
    double best = 1e100;
    for (int i = 0; i < 3; ++i) {
        const auto start = Clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(Clock::now() - start).count());
    }
    return best;
}

}  // namespace

int main(int argc, char** argv) {
    const int pages = argc > 1 ? std::atoi(argv[1]) : 10000;
    char pattern[] = "/tmp/kestrova-bench-page-XXXXXX";
    const char* dirName = ::mkdtemp(pattern);
    if (!dirName) return 1;
    const std::filesystem::path dir(dirName);
    std::vector<std::string> paths;
    std::vector<std::u16string> fullPaths;
    size_t totalBytes = 0;
    for (int n = 0; n < pages; ++n) {
        const std::string bytes = MakePage(n, n % 2 == 0);
        paths.push_back((dir / ("page" + std::to_string(n) + ".html")).string());
        fullPaths.push_back(platform::PathFromNative(paths.back()));
        std::ofstream(paths.back(), std::ios::binary) << bytes;
        totalBytes += bytes.size();
    }
    std::printf("%d pages, %.1f MB, %.0f bytes per page on average\n", pages, totalBytes / 1e6,
                double(totalBytes) / pages);

    const double io = BestSeconds([&] {
        char buffer[4096];
        for (const std::string& p : paths) {
            platform::File f;
            if (f.Open(p, platform::File::Access::kReadShared) == platform::File::OpenResult::kOk)
                f.Read(buffer, sizeof buffer);
        }
    });
    NullLog log;
    size_t chapters = 0;
    const double meta = BestSeconds([&] {
        for (const std::u16string& p : fullPaths) {
            PageMeta page;
            if (ReadPageMeta(p, log, page)) chapters += page.chapters.defaultList.size();
        }
    });
    const double scan = BestSeconds([&] {
        NoOp handler;
        for (const std::string& p : paths) HtmlScanner::Scan(p, false, handler);
    });
    std::printf("(a) open + read 4096 bytes + close: %8.1f ms  (%.2f us per page)\n", io * 1e3,
                io * 1e6 / pages);
    std::printf(
        "(b) ReadPageMeta:                   %8.1f ms  (%.2f us per page, %.2fx the I/O floor, %d "
        "failures)\n",
        meta * 1e3, meta * 1e6 / pages, meta / io, log.lines);
    std::printf("(c) tolerant scan, no-op handler:   %8.1f ms  (%.0f MB/s)\n", scan * 1e3,
                totalBytes / scan / 1e6);
    std::printf("targets: (b) within 2x of (a): %s; (c) at least 300 MB/s: %s\n",
                meta <= 2 * io ? "met" : "MISSED",
                totalBytes / scan / 1e6 >= 300 ? "met" : "MISSED");
    if (argc > 2 && std::string(argv[2]) == "--keep") {
        std::printf("pages kept in %s\n", dirName);
    } else {
        std::filesystem::remove_all(dir);
    }
    return chapters > 0 ? 0 : 1;
}
