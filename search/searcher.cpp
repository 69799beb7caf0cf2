#include "search/searcher.h"

#include "platform/codepage.h"
#include "search/index_store.h"
#include "search/internal/analyzers.h"
#include "search/internal/library_error.h"

#include <CLucene.h>
#include <CLucene/document/FieldSelector.h>

#include <algorithm>
#include <chrono>
#include <cwctype>
#include <thread>

#include <unistd.h>

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

// The index library's error as a SearchError: what failed, then the library's own words.
[[noreturn]] void ThrowSearchError(const std::string& what, CLuceneError& e) {
    throw SearchError(what + ": " + LibraryErrorText(e));
}

// True when a whole word of the query (between blanks or the ends) starting at `i` is one of
// the parser's operator words.
bool IsOperatorWordAt(const std::u16string& query, size_t i) {
    if (i > 0 && !IsParserSpace(query[i - 1])) return false;
    size_t end = i;
    while (end < query.size() && !IsParserSpace(query[end])) ++end;
    const std::u16string_view word(query.data() + i, end - i);
    return word == u"AND" || word == u"OR" || word == u"NOT";
}

// The parser descends once per level of parentheses: a query nested without end would exhaust
// the stack of the thread that parses it.
constexpr int kMaxNesting = 100;

// How deep the parentheses of a query-language text nest (escaped ones and those inside
// quotes do not count).
int NestingDepth(const std::u16string& text) {
    int depth = 0;
    int deepest = 0;
    bool quoted = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c == u'\\') {
            ++i;
        } else if (c == u'"') {
            quoted = !quoted;
        } else if (!quoted && c == u'(') {
            deepest = std::max(deepest, ++depth);
        } else if (!quoted && c == u')' && depth > 0) {
            --depth;
        }
    }
    return deepest;
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

Searcher::Searcher(const std::u16string& dataFolder, IndexKind kind, bool queryLanguage)
    : lock_(MakeIndexPaths(dataFolder, kind).liveLock, IndexLockFile::Mode::kShared),
      liveDir_(MakeIndexPaths(dataFolder, kind).liveDir),
      queryLanguage_(queryLanguage),
      analyzer_(CreateAnalyzer(kind)) {
    if (!lock_.TryAcquire()) {
        // A lock file that cannot be used is a failure, not a build in progress.
        if (!lock_.Error().empty()) throw SearchError(lock_.Error());
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        return;
    }
    identity_ = ReadIndexIdentity(liveDir_);
    try {
        searcher_ = std::make_unique<lucene::search::IndexSearcher>(liveDir_.c_str());
    } catch (CLuceneError& e) {
        ThrowIndexError("can't open index " + liveDir_, e);
    }
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
    if (SearchDocuments(query, documents) != SearchOutcome::kSearched) return false;
    paths.reserve(paths.size() + documents.size());
    for (const int32_t document : documents) {
        if (std::optional<std::u16string> path = StoredPath(document))
            paths.push_back(std::move(*path));
    }
    return true;
}

SearchOutcome Searcher::SearchDocuments(const std::u16string& query,
                                        std::vector<int32_t>& documents) {
    if (!searcher_) return SearchOutcome::kBlocked;
    const std::u16string prepared = PrepareQueryText(query, queryLanguage_);
    // The parser rejects a query without any word instead of yielding no query.
    if (std::all_of(prepared.begin(), prepared.end(), IsParserSpace))
        return SearchOutcome::kBlankQuery;
    if (queryLanguage_ && NestingDepth(prepared) > kMaxNesting) {
        throw SearchError("can't parse query: parentheses nested deeper than " +
                          std::to_string(kMaxNesting) + " levels");
    }
    const std::wstring text = platform::Utf16ToWide(prepared);
    std::unique_ptr<Query> parsed;
    try {
        lucene::queryParser::QueryParser parser(L"text", analyzer_.get());
        parsed.reset(parser.parse(text.c_str()));
    } catch (CLuceneError& e) {
        ThrowSearchError("can't parse query", e);
    }
    if (!parsed) return SearchOutcome::kNoQuery;
    // Every hit, best first: the whole ranked list at once rather than the growing windows of
    // Hits, which would run the query again each time the window doubles.
    const int32_t maxDoc = std::max<int32_t>(1, searcher_->maxDoc());
    std::unique_ptr<TopDocs> top;
    try {
        top.reset(searcher_->_search(parsed.get(), nullptr, maxDoc));
    } catch (CLuceneError& e) {
        ThrowIndexError("can't search index " + liveDir_, e);
    }
    if (!top) return SearchOutcome::kSearched;
    documents.reserve(documents.size() + static_cast<size_t>(top->scoreDocsLength));
    for (int32_t i = 0; i < top->scoreDocsLength; ++i) documents.push_back(top->scoreDocs[i].doc);
    return SearchOutcome::kSearched;
}

std::optional<std::u16string> Searcher::StoredPath(int32_t document) {
    // The path is stored after the page text, so even with the selector the reader passes
    // over the text; callers that can name the page otherwise avoid this.
    const RelPathSelector selector;
    Document doc;
    try {
        if (!searcher_ || !searcher_->getReader()->document(document, doc, &selector))
            return std::nullopt;
    } catch (CLuceneError& e) {
        ThrowIndexError("can't read index " + liveDir_, e);
    }
    const TCHAR* relPath = doc.get(L"relPath");
    return platform::WideToUtf16(relPath ? relPath : L"");
}

void Searcher::ThrowIndexError(const std::string& what, CLuceneError& e) {
    // An index that claims to be current but cannot be opened or read is damaged (a file cut
    // short, a lost segment): taking away its identity makes it not current for every process,
    // so the next search or build replaces it, instead of every search failing on it.
    const int kind = e.number();
    const bool damage = kind == CL_ERR_IO || kind == CL_ERR_CorruptIndex ||
                        kind == CL_ERR_FieldReader || kind == CL_ERR_IndexOutOfBounds;
    // Other errors come from the query (a wildcard that expands to too many words, say).
    if (damage && identity_ && ::unlink((liveDir_ + "/idx_info.uid").c_str()) == 0) {
        identity_.reset();
        throw SearchError("the index " + liveDir_ +
                          " was damaged and is being rebuilt: " + LibraryErrorText(e));
    }
    ThrowSearchError(what, e);
}

int32_t Searcher::DocumentCount() const { return searcher_ ? searcher_->maxDoc() : 0; }

}  // namespace kestrova
