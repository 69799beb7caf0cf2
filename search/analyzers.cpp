#include "search/internal/analyzers.h"

#include "search/index_store.h"

#include <CLucene/analysis/standard/StandardFilter.h>
#include <CLucene/analysis/standard/StandardTokenizer.h>

namespace lucene::analysis::standard {

KsvAnalyzerBase::KsvAnalyzerBase() : stopTable_(_CLNEW CLTCSetList(true)) {
    StopFilter::fillStopTable(stopTable_, StopAnalyzer::ENGLISH_STOP_WORDS);
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
