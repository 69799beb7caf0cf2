#include "search/searcher_impl.h"

#include "platform/codepage.h"
#include "search/analyzers.h"
#include "search/index_store.h"

#include <CLucene/document/FieldSelector.h>

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <thread>

namespace kestrova {
namespace {

using lucene::document::Document;
using lucene::document::FieldSelector;
using lucene::search::Query;
using lucene::search::TopDocs;

constexpr std::u16string_view kSpecial = u"+-&|!(){}[]^\"~*?:\\";

// Loads only the stored relative path of a hit, never its page text.
class RelPathSelector final : public FieldSelector {
public:
    FieldSelectorResult accept(const TCHAR* fieldName) const override {
        return wcscmp(fieldName, L"relPath") == 0 ? LOAD_AND_BREAK : NO_LOAD;
    }
};

bool IsParserSpace(char16_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; }

// True when a whole word of the query (between blanks or the ends) starting at `i` is one of
// the parser's operator words.
bool IsOperatorWordAt(const std::u16string& query, size_t i) {
    if (i > 0 && !IsParserSpace(query[i - 1])) return false;
    size_t end = i;
    while (end < query.size() && !IsParserSpace(query[end])) ++end;
    const std::u16string_view word(query.data() + i, end - i);
    return word == u"AND" || word == u"OR" || word == u"NOT";
}

}  // namespace

std::u16string PrepareQueryText(const std::u16string& query, bool queryLanguage) {
    std::u16string text;
    text.reserve(query.size() * 2);
    for (size_t i = 0; i < query.size(); ++i) {
        const char16_t c = query[i];
        if (queryLanguage) {
            text.push_back(c == u':' ? u' ' : c);
        } else {
            // The parser also takes the words AND, OR and NOT as operators; escaped, they are
            // plain words like any other.
            if (kSpecial.find(c) != std::u16string_view::npos || IsOperatorWordAt(query, i))
                text.push_back(u'\\');
            text.push_back(c);
        }
    }
    return text;
}

Searcher::Searcher(const std::u16string& dataFolder, int32_t kind, bool queryLanguage)
    : lock_(MakeIndexPaths(dataFolder, kind).liveLock, IndexLockFile::Mode::kShared),
      kind_(kind),
      queryLanguage_(queryLanguage),
      analyzer_(CreateAnalyzer(kind)) {
    if (!lock_.TryAcquire()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return;
    }
    const std::string liveDir = MakeIndexPaths(dataFolder, kind).liveDir;
    searcher_ = std::make_unique<lucene::search::IndexSearcher>(liveDir.c_str());
    identity_ = ReadIndexIdentity(liveDir);
}

Searcher::~Searcher() {
    if (searcher_) {
        try {
            searcher_->close();
        } catch (...) {
        }
    }
    searcher_.reset();
    analyzer_.reset();
    lock_.Release();
}

bool Searcher::Search(const std::u16string& query, std::vector<std::u16string>& paths) {
    std::vector<int32_t> documents;
    if (!SearchDocuments(query, documents)) return false;
    paths.reserve(paths.size() + documents.size());
    for (const int32_t document : documents) {
        if (std::optional<std::u16string> path = StoredPath(document))
            paths.push_back(std::move(*path));
    }
    return true;
}

bool Searcher::SearchDocuments(const std::u16string& query, std::vector<int32_t>& documents) {
    if (!searcher_) return false;
    const std::u16string prepared = PrepareQueryText(query, queryLanguage_);
    // The parser rejects a query without any word instead of yielding no query.
    if (std::all_of(prepared.begin(), prepared.end(), IsParserSpace)) return false;
    const std::wstring text = platform::Utf16ToWide(prepared);
    lucene::queryParser::QueryParser parser(L"text", analyzer_.get());
    std::unique_ptr<Query> parsed(parser.parse(text.c_str()));
    if (!parsed) return false;
    // Every hit, best first: the whole ranked list at once rather than the growing windows of
    // Hits, which would run the query again each time the window doubles.
    const int32_t maxDoc = std::max<int32_t>(1, searcher_->maxDoc());
    std::unique_ptr<TopDocs> top(searcher_->_search(parsed.get(), nullptr, maxDoc));
    if (!top) return true;
    documents.reserve(documents.size() + static_cast<size_t>(top->scoreDocsLength));
    for (int32_t i = 0; i < top->scoreDocsLength; ++i) documents.push_back(top->scoreDocs[i].doc);
    return true;
}

std::optional<std::u16string> Searcher::StoredPath(int32_t document) {
    // The path is stored after the page text, so even with the selector the reader passes
    // over the text; callers that can name the page otherwise avoid this.
    const RelPathSelector selector;
    Document doc;
    if (!searcher_ || !searcher_->getReader()->document(document, doc, &selector))
        return std::nullopt;
    const TCHAR* relPath = doc.get(L"relPath");
    return platform::WideToUtf16(relPath ? relPath : L"");
}

int32_t Searcher::DocumentCount() const { return searcher_ ? searcher_->maxDoc() : 0; }

}  // namespace kestrova
