// The analyzers of the two index kinds, used for the field "text" when pages are indexed and
// when queries are parsed, so that query terms and index terms are formed alike.
//
// KsvLemmatizingAnalyzer (kind 0): StandardTokenizer, StandardFilter, MorphoTokenFilter,
// LowerCaseFilter, StopFilter: terms are the lower-case dictionary forms of the words.
// KsvPreciseAnalyzer (kind 1): StandardTokenizer, StandardFilter, StopFilter: terms keep the
// letter case they are written in (the stop-word test is case-sensitive there).
// Both stop the 35 English stop words of KsvStopWords. An analyzer is used by one thread at a
// time.
#pragma once

#include "search/index_kind.h"
#include "search/internal/morpho_token_filter.h"

#include <CLucene.h>

#include <cstdint>
#include <memory>
#include <string>

namespace lucene::analysis::standard {

// Common part: the stop-word table and the reuse of one chain per analyzer.
class KsvAnalyzerBase : public Analyzer {
public:
    KsvAnalyzerBase();
    ~KsvAnalyzerBase() override;

    // A new chain over the reader; the caller deletes it (which deletes the whole chain).
    TokenStream* tokenStream(const TCHAR* fieldName, CL_NS(util)::Reader* reader) override;
    // The writer's entry: a chain owned by the analyzer, replaced on the next call. (The
    // library's default would hand out new chains that nobody deletes.)
    TokenStream* reusableTokenStream(const TCHAR* fieldName, CL_NS(util)::Reader* reader) override;

protected:
    // The filters after the tokenizer and StandardFilter.
    virtual TokenStream* Filter(TokenStream* in) = 0;
    CLTCSetList* StopTable() { return stopTable_; }

private:
    CLTCSetList* stopTable_;
    TokenStream* reused_ = nullptr;
};

class KsvLemmatizingAnalyzer : public KsvAnalyzerBase {
public:
    // Dictionary forms from `form`, by default from the process-wide morphology; the forms of
    // the first 131072 distinct words are kept (see RememberingDictionaryForm).
    explicit KsvLemmatizingAnalyzer(DictionaryFormFunction form = ProcessDictionaryForm());
    ~KsvLemmatizingAnalyzer() override;

protected:
    TokenStream* Filter(TokenStream* in) override;

private:
    DictionaryFormFunction form_;
};

class KsvPreciseAnalyzer : public KsvAnalyzerBase {
public:
    KsvPreciseAnalyzer();
    ~KsvPreciseAnalyzer() override;

protected:
    TokenStream* Filter(TokenStream* in) override;
};

}  // namespace lucene::analysis::standard

namespace kestrova {

// The English stop words of both analyzers ("a" ... "with"), null-terminated.
extern const TCHAR* const KsvStopWords[36];

// The analyzer of an index kind (0 lemmatizing, 1 precise), or null for any other kind.
std::unique_ptr<lucene::analysis::Analyzer> CreateAnalyzer(IndexKind kind);

// What the terms of an index kind depend on besides the texts: the stop words, and for the
// lemmatizing kind the morphology (MorphologyFingerprint). An index built under another
// fingerprint holds other terms. Throws std::runtime_error("unknown index kind") as
// IndexSuffix.
std::string AnalyzerFingerprint(IndexKind kind);

}  // namespace kestrova
