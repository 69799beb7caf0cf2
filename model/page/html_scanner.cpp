#include "model/page/html_scanner.h"

#include "model/page/byte_reader.h"
#include "platform/file.h"

#include <fcntl.h>
#include <algorithm>
#include <array>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace kestrova {
namespace {

// Byte classes: white space between the parts of a tag, and name characters.
enum : unsigned char { kSpace = 1, kName = 2, kUnquotedEnd = 4 };

constexpr std::array<unsigned char, 256> MakeClasses() {
    std::array<unsigned char, 256> t{};
    for (int c : {9, 10, 11, 13, 32}) t[c] |= kSpace | kUnquotedEnd;
    for (int c = 'a'; c <= 'z'; ++c) t[c] |= kName;
    for (int c = 'A'; c <= 'Z'; ++c) t[c] |= kName;
    for (int c = '0'; c <= '9'; ++c) t[c] |= kName;
    for (int c : {'-', ':', '_'}) t[c] |= kName;
    for (int c : {'"', '\'', '=', '<', '>', '`'}) t[c] |= kUnquotedEnd;
    return t;
}
constexpr std::array<unsigned char, 256> kClasses = MakeClasses();

// Lambdas rather than functions, so that the reader's loops inline them.
constexpr auto IsSpace = [](unsigned char c) { return (kClasses[c] & kSpace) != 0; };
constexpr auto IsNameChar = [](unsigned char c) { return (kClasses[c] & kName) != 0; };

// A tag or attribute name copied out of the reader's window, which the next read may move.
// Names are short: most are kept in place, without the general path of std::string.
class Name {
public:
    void Assign(std::string_view name) {
        if (name.size() <= sizeof(local_)) {
            std::memcpy(local_, name.data(), name.size());
            view_ = std::string_view(local_, name.size());
        } else {
            long_.assign(name);
            view_ = long_;
        }
    }
    std::string_view View() const { return view_; }
    bool Empty() const { return view_.empty(); }

private:
    char local_[64];
    std::string long_;
    std::string_view view_;
};

class FileSource final : public IByteSource {
public:
    explicit FileSource(platform::File& file) : file_(file) {}
    size_t Read(char* buffer, size_t n) override {
        const long long r = file_.Read(buffer, n);
        if (r < 0) throw std::runtime_error("read file error");
        return static_cast<size_t>(r);
    }

private:
    platform::File& file_;
};

class MemorySource final : public IByteSource {
public:
    explicit MemorySource(std::string_view bytes) : rest_(bytes) {}
    size_t Read(char* buffer, size_t n) override {
        n = std::min(n, rest_.size());
        std::copy_n(rest_.data(), n, buffer);
        rest_.remove_prefix(n);
        return n;
    }

private:
    std::string_view rest_;
};

// One scan. Every step that meets an error calls Fail(), which throws in strict mode and
// otherwise returns false so that the step ends where the reader stands.
class Scanner {
public:
    Scanner(IByteSource& source, bool strict, IHtmlContentHandler& handler, size_t maxCapture)
        : in_(source, maxCapture), strict_(strict), handler_(handler) {}

    void Run() {
        in_.Start();
        if (in_.LookingAt("\xEF\xBB\xBF")) {
            in_.Skip(3);
            handler_.OnByteOrderMark(true);
        }
        while (!stop_ && !in_.AtEnd()) {
            if (in_.Current() == '<') {
                Markup();
            } else {
                Text();
            }
        }
    }

private:
    bool Fail(const char* message) {
        if (strict_) throw std::runtime_error(message);
        return false;
    }

    void SkipSpace() {
        if (!in_.AtEnd() && IsSpace(in_.Current())) in_.AdvanceWhile(IsSpace);
    }

    void Text() {
        in_.BeginCapture();
        for (;;) {
            switch (in_.AdvanceTo('<')) {
                case ByteReader::Stop::kFound:
                    handler_.OnText(in_.EndCapture());
                    return;
                // Text after the last '<' of a file is not reported.
                case ByteReader::Stop::kEnd:
                    in_.EndCapture();
                    handler_.OnText({});
                    return;
                case ByteReader::Stop::kFull:
                    handler_.OnText(in_.EndCapture());
                    in_.BeginCapture();
                    break;
            }
        }
    }

    // Passes over bytes up to the next '>', leaving it unread.
    bool SkipToClose(const char* failure) {
        if (in_.AdvanceTo('>') != ByteReader::Stop::kFound) return Fail(failure);
        return true;
    }

    bool SkipComment() {
        int dashes = 0;
        for (;;) {
            if (in_.AtEnd()) return Fail("cannot find end of comment");
            const unsigned char c = in_.Current();
            in_.Advance();
            if (c == '>' && dashes >= 2) return true;
            dashes = c == '-' ? dashes + 1 : 0;
        }
    }

    // Reads a run of name characters into `out`; false (after Fail) when it is too long.
    bool ReadName(Name& out, const char* tooLong) {
        in_.BeginCapture();
        const ByteReader::Stop stop = in_.AdvanceWhile(IsNameChar);
        const std::string_view name = in_.EndCapture();
        if (stop == ByteReader::Stop::kFull) return Fail(tooLong);
        out.Assign(name);
        return true;
    }

    void Markup() {
        in_.Advance();  // '<'
        if (in_.AtEnd()) {
            Fail("EOF after <");
            return;
        }
        unsigned char c = in_.Current();
        if (!strict_ && ((c >= 9 && c <= 13) || c == ' ' || c == '=' || c == '<' || c == '>')) {
            handler_.OnText(" ");
            in_.Advance();
            return;
        }
        if (c == '!') {
            if (in_.LookingAt("!--")) {
                in_.Skip(3);
                SkipComment();
                return;
            }
            if (in_.LookingAt("!DOCTYPE", true)) {
                in_.Skip(8);
                SkipToClose("cannot find matching > for <!doctype");
                return;
            }
        }
        if (c == '?' && in_.LookingAt("?xml")) {
            in_.Skip(4);
            SkipToClose("cannot find matching > for <?xml");
            return;
        }
        bool endTag = false;
        if (c == '/' || (!strict_ && c == '\\')) {
            in_.Advance();
            endTag = true;
            if (in_.AtEnd()) {
                Fail("eof after </");
                return;
            }
        }
        if (!ReadName(tag_, "tag name too long")) return;
        if (tag_.Empty()) {
            Fail("cannot get tag name");
            return;
        }
        TagBody(endTag);
    }

    // Everything after the tag name; errors raised here carry the tag name.
    void TagBody(bool endTag) {
        bool attributesOpen = false;
        try {
            SkipSpace();
            const unsigned char c = in_.Peek();
            if (c == '>' || c == '/') {
                CloseTag(endTag, c == '/');
                return;
            }
            if (endTag) {
                Fail("closing tag with attributes");
                return;
            }
            if (!handler_.OnTagWithAttributes(tag_.View())) {
                stop_ = true;
                return;
            }
            attributesOpen = true;
            Attributes();
        } catch (const std::runtime_error& e) {
            // The handler sees the tag closed before the error leaves; if closing it fails
            // again, that error is the one that leaves.
            if (attributesOpen) handler_.OnAttributesEnd();
            throw std::runtime_error(std::string(e.what()) + " in tag " + std::string(tag_.View()));
        }
    }

    void CloseTag(bool endTag, bool slash) {
        if (slash) {
            in_.Advance();
            if (in_.AtEnd() || in_.Current() != '>') {
                Fail("wrong end of tag after /");
                return;
            }
        }
        in_.Advance();  // '>'
        if (endTag) {
            handler_.OnEndTag(tag_.View());
            return;
        }
        if (!handler_.OnStartTag(tag_.View())) stop_ = true;
        if (slash) handler_.OnEndTag(tag_.View());
    }

    void Attributes() {
        SkipSpace();
        while (!in_.AtEnd()) {
            const unsigned char c = in_.Current();
            if (c == '>' || c == '<' || c == '/') break;
            if (!ReadName(attrName_, "attribute name too long")) return;
            if (attrName_.Empty()) {
                Fail("cannot get attribute name");
                return;
            }
            SkipSpace();
            std::string_view value;
            if (!in_.AtEnd() && in_.Current() == '=') {
                in_.Advance();
                SkipSpace();
                if (!Value(value)) return;
            }
            handler_.OnAttribute(attrName_.View(), value);
            SkipSpace();
        }
        if (in_.AtEnd()) {
            Fail("unexpected eof inside tag");
            return;
        }
        const unsigned char c = in_.Current();
        if (c == '<') {
            Fail("unexpected char in tag");  // the '<' starts the next tag
            return;
        }
        in_.Advance();
        if (c == '/') {
            if (in_.AtEnd() || in_.Current() != '>') {
                Fail("wrong end of tag");
                return;
            }
            in_.Advance();
            handler_.OnAttributesEnd();
            handler_.OnEndTag(tag_.View());
            return;
        }
        handler_.OnAttributesEnd();
    }

    bool Value(std::string_view& value) {
        if (in_.AtEnd()) Fail("eof instead of attribute value");
        const unsigned char first = in_.Peek();
        if (first == '"' || first == '\'') {
            in_.Advance();
            in_.BeginCapture();
            const ByteReader::Stop stop = in_.AdvanceTo(static_cast<char>(first));
            value = in_.EndCapture();
            if (stop == ByteReader::Stop::kEnd)
                return Fail("cannot find matching quote for attribute value");
            if (stop == ByteReader::Stop::kFull) return Fail("attribute value too long");
            in_.Advance();
            return true;
        }
        if (kClasses[first] & kUnquotedEnd) return Fail("strange first attribute value char");
        in_.BeginCapture();
        const ByteReader::Stop stop =
            in_.AdvanceWhile([](unsigned char b) { return !(kClasses[b] & kUnquotedEnd); });
        if (stop == ByteReader::Stop::kEnd) {
            in_.EndCapture();
            in_.Peek();  // a value that runs to the end of the file: "peek() at eof"
        }
        value = in_.EndCapture();
        if (stop == ByteReader::Stop::kFull) return Fail("attribute value too long");
        const unsigned char end = in_.Current();
        if (!IsSpace(end) && end != '>') {
            value = {};
            return Fail("wrong not quoted attribute");
        }
        return true;
    }

    ByteReader in_;
    const bool strict_;
    IHtmlContentHandler& handler_;
    bool stop_ = false;
    Name tag_;
    Name attrName_;
};

}  // namespace

void HtmlScanner::Scan(const std::string& path, bool strict, IHtmlContentHandler& handler,
                       size_t maxCapture) {
    platform::File file;  // closed on every way out of the scan
    OpenForScan(file, AT_FDCWD, path);
    ScanFile(file, strict, handler, maxCapture);
}

void HtmlScanner::OpenForScan(platform::File& file, int dirFd, const std::string& path) {
    if (file.OpenAt(dirFd, path, platform::File::Access::kReadShared) !=
        platform::File::OpenResult::kOk)
        throw std::runtime_error("cannot open file");
}

void HtmlScanner::ScanFile(platform::File& file, bool strict, IHtmlContentHandler& handler,
                           size_t maxCapture) {
    FileSource source(file);
    Run(source, strict, handler, maxCapture);
}

void HtmlScanner::ScanBytes(std::string_view bytes, bool strict, IHtmlContentHandler& handler,
                            size_t maxCapture) {
    MemorySource source(bytes);
    Run(source, strict, handler, maxCapture);
}

void HtmlScanner::Run(IByteSource& source, bool strict, IHtmlContentHandler& handler,
                      size_t maxCapture) {
    // The reader's window lives on the heap (scans may run on worker threads with small
    // stacks), and is reused by the thread's next scan.
    Scanner scanner(source, strict, handler, maxCapture);
    try {
        scanner.Run();
    } catch (const ParseBreak&) {
    }
}

}  // namespace kestrova
