#include "search/internal/analyzers.h"

#include "platform/codepage.h"
#include "search/index_store.h"
#include "search/morphology/fingerprint.h"

#include <CLucene/analysis/standard/StandardFilter.h>
#include <CLucene/analysis/standard/StandardTokenizer.h>

namespace lucene::analysis::standard {

KsvAnalyzerBase::KsvAnalyzerBase() : stopTable_(_CLNEW CLTCSetList(true)) {
    // The table keeps the pointers; the words are static.
    StopFilter::fillStopTable(stopTable_, const_cast<const TCHAR**>(kestrova::KsvStopWords));
}

KsvAnalyzerBase::~KsvAnalyzerBase() {
    _CLDELETE(reused_);
    _CLDELETE(stopTable_);
}

TokenStream* KsvAnalyzerBase::tokenStream(const TCHAR*, CL_NS(util)::Reader* reader) {
    CL_NS(util)::BufferedReader* buffered = reader->__asBufferedReader();
    TokenStream* stream =
        buffered
            ? _CLNEW StandardTokenizer(buffered)
            : _CLNEW
              StandardTokenizer(_CLNEW CL_NS(util)::FilteredBufferedReader(reader, false), true);
    stream = _CLNEW StandardFilter(stream, true);
    return Filter(stream);
}

TokenStream* KsvAnalyzerBase::reusableTokenStream(const TCHAR* fieldName,
                                                  CL_NS(util)::Reader* reader) {
    _CLDELETE(reused_);
    reused_ = tokenStream(fieldName, reader);
    return reused_;
}

namespace {
// Distinct words whose dictionary forms an analyzer keeps: a text repeats most of its words,
// and a hash lookup is far cheaper than the lemmatizer. About 100 bytes a word.
constexpr size_t kRememberedForms = 1 << 17;
}  // namespace

KsvLemmatizingAnalyzer::KsvLemmatizingAnalyzer(DictionaryFormFunction form)
    : form_(RememberingDictionaryForm(std::move(form), kRememberedForms)) {}
KsvLemmatizingAnalyzer::~KsvLemmatizingAnalyzer() = default;

TokenStream* KsvLemmatizingAnalyzer::Filter(TokenStream* in) {
    TokenStream* stream = _CLNEW MorphoTokenFilter(in, form_);
    stream = _CLNEW LowerCaseFilter(stream, true);
    return _CLNEW StopFilter(stream, true, StopTable());
}

KsvPreciseAnalyzer::KsvPreciseAnalyzer() = default;
KsvPreciseAnalyzer::~KsvPreciseAnalyzer() = default;

TokenStream* KsvPreciseAnalyzer::Filter(TokenStream* in) {
    return _CLNEW StopFilter(in, true, StopTable());
}

}  // namespace lucene::analysis::standard

namespace kestrova {

const TCHAR* const KsvStopWords[36] = {
    L"a",     L"an",    L"and",  L"are",  L"as", L"at",   L"be",   L"but",   L"by",
    L"for",   L"if",    L"in",   L"into", L"is", L"it",   L"no",   L"not",   L"of",
    L"on",    L"or",    L"s",    L"such", L"t",  L"that", L"the",  L"their", L"then",
    L"there", L"these", L"they", L"this", L"to", L"was",  L"will", L"with",  nullptr};

std::string AnalyzerFingerprint(IndexKind kind) {
    Fingerprint stopWords;
    for (const TCHAR* const* word = KsvStopWords; *word; ++word) {
        stopWords.Add(platform::Utf16ToUtf8(platform::WideToUtf16(*word)));
        stopWords.Add(std::string_view("", 1));
    }
    std::string fingerprint =
        std::string(IndexSuffix(kind) + 1) + ": stop words " + stopWords.Hex();
    if (kind == kIndexLemmatizing) fingerprint += "; " + MorphologyFingerprint();
    return fingerprint;
}

std::unique_ptr<lucene::analysis::Analyzer> CreateAnalyzer(IndexKind kind) {
    switch (kind) {
        case kIndexLemmatizing:
            return std::make_unique<lucene::analysis::standard::KsvLemmatizingAnalyzer>();
        case kIndexPrecise:
            return std::make_unique<lucene::analysis::standard::KsvPreciseAnalyzer>();
        default:
            return nullptr;
    }
}

}  // namespace kestrova
