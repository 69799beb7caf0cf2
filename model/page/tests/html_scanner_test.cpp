#include "model/page/html_scanner.h"
#include "model/page/byte_reader.h"
#include "model/page/scan_trace.h"
#include "scan_helpers.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace kestrova {
namespace {

using testing::Trace;

constexpr bool kStrict = true;
constexpr bool kTolerant = false;

TEST(HtmlScanner, ReportsTagsAttributesAndTextInOrder) {
    EXPECT_EQ(
        Trace("\xEF\xBB\xBFhi<br/><img src=x /><input disabled><a href = 'x y'>t</a>", kStrict),
        "BOM\nTEXT \"hi\"\nSTART br\nEND br\nTAG img\nATTR src=\"x\"\nATTREND\nEND img\n"
        "TAG input\nATTR disabled=\"\"\nATTREND\nTAG a\nATTR href=\"x y\"\nATTREND\n"
        "TEXT \"t\"\nEND a\n");
    // Quoted values hold anything; unquoted ones keep slashes; trailing text is dropped.
    EXPECT_EQ(Trace("<a b=\"1>\n2\" c=a/b d='\"'>x</html>tail", kStrict),
              "TAG a\nATTR b=\"1>\\x0a2\"\nATTR c=\"a/b\"\nATTR d=\"\\\"\"\nATTREND\nTEXT \"x\"\n"
              "END html\nTEXT \"\"\n");
    // Form feed is no white space between the parts of a tag.
    EXPECT_EQ(Trace("<p\f>", kStrict),
              "TAG p\nATTREND\nERROR cannot get attribute name in tag p\n");
}

TEST(HtmlScanner, SkipsDeclarationsAndComments) {
    EXPECT_EQ(Trace("<!DOCTYPE html>\n<p>", kStrict), "TEXT \">\\x0a\"\nSTART p\n");
    EXPECT_EQ(Trace("<!doctype html><p>", kStrict), "TEXT \">\"\nSTART p\n");
    EXPECT_EQ(Trace("<?xml version='1.0'?><p>", kStrict), "TEXT \">\"\nSTART p\n");
    EXPECT_EQ(Trace("<?XML version='1.0'?>", kStrict), "ERROR cannot get tag name\n");
    EXPECT_EQ(Trace("<!-- a > b -- >--><p><!---->", kStrict), "START p\n");
    EXPECT_EQ(Trace("<!--->", kStrict), "ERROR cannot find end of comment\n");
    EXPECT_EQ(Trace("<!DOCTYPE html", kStrict), "ERROR cannot find matching > for <!doctype\n");
    EXPECT_EQ(Trace("<?xml x", kStrict), "ERROR cannot find matching > for <?xml\n");
    EXPECT_EQ(Trace("<!x>", kStrict), "ERROR cannot get tag name\n");
}

TEST(HtmlScanner, StrictErrorsHaveExactTexts) {
    struct Case {
        const char* input;
        const char* error;
    } cases[] = {
        {"<", "EOF after <"},
        {"</", "eof after </"},
        {"< p>", "cannot get tag name"},
        {"<p", "peek() at eof in tag p"},
        {"<p  ", "peek() at eof in tag p"},
        {"<p/x", "wrong end of tag after / in tag p"},
        {"</p class='x'>", "closing tag with attributes in tag p"},
        {"<p =x>", "cannot get attribute name in tag p"},
        {"<p a", "unexpected eof inside tag in tag p"},
        {"<p a=", "eof instead of attribute value in tag p"},
        {"<p a=\"x", "cannot find matching quote for attribute value in tag p"},
        {"<p a='x", "cannot find matching quote for attribute value in tag p"},
        {"<p a=>", "strange first attribute value char in tag p"},
        {"<p a=`x`>", "strange first attribute value char in tag p"},
        {"<p a=x\">", "wrong not quoted attribute in tag p"},
        {"<p a=x=y>", "wrong not quoted attribute in tag p"},
        {"<p a=x", "peek() at eof in tag p"},
        {"<p a/x>", "wrong end of tag in tag p"},
        {"<p a<b>", "unexpected char in tag in tag p"},
        {"<\\p>", "cannot get tag name"},
    };
    for (const auto& c : cases) {
        const std::string trace = Trace(c.input, kStrict);
        EXPECT_EQ(trace.substr(trace.rfind("ERROR")), std::string("ERROR ") + c.error + "\n")
            << c.input;
    }
    // The handler sees a broken attribute list closed before the error leaves.
    EXPECT_EQ(Trace("<a href=x\">", kStrict),
              "TAG a\nATTREND\nERROR wrong not quoted attribute in tag a\n");
}

TEST(HtmlScanner, TolerantModeReadsThroughBrokenMarkup) {
    EXPECT_EQ(Trace("a < b</p>", kTolerant), "TEXT \"a \"\nTEXT \" \"\nTEXT \"b\"\nEND p\n");
    EXPECT_EQ(Trace("a < b</p>", kStrict), "TEXT \"a \"\nERROR cannot get tag name\n");
    EXPECT_EQ(Trace("<\\p>x<=><", kTolerant), "END p\nTEXT \"x\"\nTEXT \" \"\nTEXT \">\"\n");
    // A broken attribute list gets no ATTREND; a '<' inside a tag starts the next tag.
    EXPECT_EQ(Trace("<a b=x\"c>t<p a<i>", kTolerant),
              "TAG a\nTEXT \"\\\"c>t\"\nTAG p\nATTR a=\"\"\nSTART i\n");
    EXPECT_EQ(Trace("<!--x", kTolerant), "");
    // "peek() at eof" is raised in every mode.
    EXPECT_EQ(Trace("x<p a=", kTolerant),
              "TEXT \"x\"\nTAG p\nATTREND\nERROR peek() at eof in tag p\n");
    EXPECT_EQ(Trace("<p", kTolerant), "ERROR peek() at eof in tag p\n");
}

// Names of any length stay whole while long values move the reader's window under them.
TEST(HtmlScanner, NamesSurviveLongValuesAfterThem) {
    const std::string value(40000, 'v');
    for (const size_t n : {1, 63, 64, 65, 300}) {
        const std::string tag = "t" + std::string(n - 1, 'a');
        const std::string attr = "n" + std::string(n - 1, 'b');
        EXPECT_EQ(Trace("<" + tag + " " + attr + "='" + value + "' x='1'/>", kStrict),
                  "TAG " + tag + "\nATTR " + attr + "=\"" + value +
                      "\"\nATTR x=\"1\"\nATTREND\nEND " + tag + "\n")
            << n;
        EXPECT_EQ(Trace("<" + tag + " " + attr + "='" + value, kStrict),
                  "TAG " + tag +
                      "\nATTREND\nERROR cannot find matching quote for attribute value in tag " +
                      tag + "\n")
            << n;
    }
}

// Stops at body, and can throw from callbacks.
class StopAtBody final : public IHtmlContentHandler {
public:
    std::string seen;
    bool throwOnEnd = false;
    void OnByteOrderMark(bool) override {}
    bool OnStartTag(std::string_view name) override {
        seen += "<" + std::string(name);
        return name != "body";
    }
    bool OnTagWithAttributes(std::string_view name) override { return OnStartTag(name); }
    void OnAttribute(std::string_view, std::string_view) override { seen += "@"; }
    void OnAttributesEnd() override {
        seen += "!";
        if (throwOnEnd) throw std::runtime_error("bad meta");
    }
    void OnEndTag(std::string_view) override {}
    void OnText(std::string_view) override { seen += "t"; }
};

TEST(HtmlScanner, HandlerStopsTheScanOrFailsItInsideATag) {
    StopAtBody h;
    HtmlScanner::ScanBytes("<head>x<body a=1>y<p>", kStrict, h);
    EXPECT_EQ(h.seen, "<headt<body");
    // An error from OnAttributesEnd is retried once; the retry's error leaves unwrapped.
    StopAtBody thrower;
    thrower.throwOnEnd = true;
    try {
        HtmlScanner::ScanBytes("<meta a=1>", kStrict, thrower);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "bad meta");
    }
    EXPECT_EQ(thrower.seen, "<meta@!!");
}

TEST(HtmlScanner, ParseBreakEndsTheScanNormally) {
    class Breaker final : public IHtmlContentHandler {
    public:
        int texts = 0;
        void OnByteOrderMark(bool) override {}
        bool OnStartTag(std::string_view) override { throw ParseBreak(); }
        bool OnTagWithAttributes(std::string_view) override { return true; }
        void OnAttribute(std::string_view, std::string_view) override {}
        void OnAttributesEnd() override {}
        void OnEndTag(std::string_view) override {}
        void OnText(std::string_view) override { ++texts; }
    } h;
    EXPECT_NO_THROW(HtmlScanner::ScanBytes("a<p>b<q>", kStrict, h));
    EXPECT_EQ(h.texts, 1);
}

TEST(HtmlScanner, RunsLongerThanTheWindowStayWhole) {
    const std::string longValue(100000, 'v');
    const std::string longText(70000, 't');
    // Put the markup across the 4096-byte first read and the window boundary.
    for (size_t pad : {4090u, 4094u, 32760u, 32767u}) {
        const std::string input = std::string(pad, ' ') + "<meta content=\"" + longValue +
                                  "\" b=" + longValue + ">" + longText + "<!-- " +
                                  std::string(40000, '-') + " --><x>";
        const std::string trace = Trace(input, kStrict);
        EXPECT_EQ(trace, "TEXT \"" + std::string(pad, ' ') + "\"\nTAG meta\nATTR content=\"" +
                             longValue + "\"\nATTR b=\"" + longValue + "\"\nATTREND\nTEXT \"" +
                             longText + "\"\nSTART x\n")
            << pad;
    }
}

TEST(HtmlScanner, CapturesAreBounded) {
    const size_t cap = 40000;
    // A longer text run comes in pieces; a longer value or name is an error.
    const std::string text(100000, 't');
    ScanTrace trace;
    HtmlScanner::ScanBytes(text + "<p>", kStrict, trace, cap);
    size_t total = 0, pieces = 0;
    for (size_t at = 0; (at = trace.Lines().find("TEXT \"", at)) != std::string::npos; ++pieces) {
        const size_t end = trace.Lines().find('"', at + 6);
        EXPECT_LE(end - at - 6, cap + ByteReader::kWindowSize);
        total += end - at - 6;
        at = end;
    }
    EXPECT_EQ(total, text.size());
    EXPECT_GT(pieces, 1u);
    EXPECT_EQ(Trace("<p a='" + text + "'>", kStrict, cap),
              "TAG p\nATTREND\nERROR attribute value too long in tag p\n");
    EXPECT_EQ(Trace("<" + text + ">", kStrict, cap), "ERROR tag name too long\n");
}

// Scans reuse the window of the thread's previous scan: nothing of an earlier scan, whether it
// ended normally, with an error or inside a long capture, may show in the next one, and a scan
// started from a handler of another must not share its window.
TEST(HtmlScanner, ConsecutiveAndNestedScansStayApart) {
    const std::string longValue(70000, 'v');
    EXPECT_EQ(Trace("<p a='" + longValue + "'>", kStrict, 1000),
              "TAG p\nATTREND\nERROR attribute value too long in tag p\n");
    EXPECT_EQ(Trace("<p a='" + longValue, kStrict),
              "TAG p\nATTREND\nERROR cannot find matching quote for attribute value in tag p\n");
    EXPECT_EQ(Trace("<q b=1>", kStrict), "TAG q\nATTR b=\"1\"\nATTREND\n");
    EXPECT_EQ(Trace(std::string(40000, 'x') + "<q>", kStrict),
              "TEXT \"" + std::string(40000, 'x') + "\"\nSTART q\n");
    EXPECT_EQ(Trace("y<q>", kStrict), "TEXT \"y\"\nSTART q\n");

    // Traces the scan, and scans other bytes from inside its first text run.
    class Nesting final : public IHtmlContentHandler {
    public:
        ScanTrace trace;
        std::string inner;
        void OnByteOrderMark(bool present) override { trace.OnByteOrderMark(present); }
        bool OnStartTag(std::string_view name) override { return trace.OnStartTag(name); }
        bool OnTagWithAttributes(std::string_view name) override {
            return trace.OnTagWithAttributes(name);
        }
        void OnAttribute(std::string_view name, std::string_view value) override {
            trace.OnAttribute(name, value);
        }
        void OnAttributesEnd() override { trace.OnAttributesEnd(); }
        void OnEndTag(std::string_view name) override { trace.OnEndTag(name); }
        void OnText(std::string_view text) override {
            trace.OnText(text);
            if (inner.empty())
                inner = Trace("<i k='" + std::string(50000, 'k') + "'>z<j>", kStrict);
        }
    } outer;
    const std::string outerText(40000, 'o');
    HtmlScanner::ScanBytes("<a>" + outerText + "<b c='" + longValue + "'>", kStrict, outer);
    EXPECT_EQ(outer.inner,
              "TAG i\nATTR k=\"" + std::string(50000, 'k') + "\"\nATTREND\nTEXT \"z\"\nSTART j\n");
    EXPECT_EQ(outer.trace.Lines(), "START a\nTEXT \"" + outerText + "\"\nTAG b\nATTR c=\"" +
                                       longValue + "\"\nATTREND\n");
}

TEST(HtmlScanner, ReadsFilesAndReportsOpenFailures) {
    const auto dir = testing::ScratchDir("scanner-files");
    const std::string path =
        testing::WriteFile(dir / "p.html", "<html><body>" + std::string(50000, 'x') + "<p>");
    ScanTrace trace;
    HtmlScanner::Scan(path, kStrict, trace);
    EXPECT_EQ(trace.Lines(),
              "START html\nSTART body\nTEXT \"" + std::string(50000, 'x') + "\"\nSTART p\n");
    try {
        HtmlScanner::Scan((dir / "missing.html").string(), kStrict, trace);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot open file");
    }
    try {
        HtmlScanner::Scan(dir.string(), kStrict, trace);  // a folder is no file
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "cannot open file");
    }
}

}  // namespace
}  // namespace kestrova
