// What a model tells beyond IModel and its lists, for the command-line tool and the viewer's
// information views: how it was made, its identifier, its log, the state of its full-text
// indexes, and the stored domains and flags of keywords and contents nodes.
//
// Every model and view has one: GetModelDiagnostics. It belongs to the unrestricted model and
// is valid as long as the model or view it was obtained from (keep a CountedPtr<IModel>).
// Thread-safe to read, as the model is.
#pragma once

#include "search/index_kind.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

class IContentNode;
class IDomain;
class IKeyword;
class IModel;

class IModelDiagnostics {
public:
    // The model identifier, created at every build from the pages and kept in the cache; an
    // index is current when it carries it.
    virtual ModelUid GetModelId() = 0;
    // True when the model was built from the pages, false when it was restored from the cache.
    virtual bool IsBuiltFromPages() = 0;
    // Empty, unless the build could not write the cache: then what failed, as "PATH: REASON".
    virtual std::string GetCacheSaveFailure() = 0;
    // The path of the model's log (model.log in its data folder).
    virtual std::u16string GetLogPath() = 0;
    // Whether the full-text index of the kind belongs to this model; reads its idx_info.uid.
    virtual IndexState GetIndexState(IndexKind kind) = 0;
    // The path of the log of the last build of the index of the kind.
    virtual std::u16string GetIndexLogPath(IndexKind kind) = 0;
    // The domains of a keyword: those of the pages of its topics, in order of first
    // appearance. REQUIRES: the keyword comes from the keyword list of this model or of one
    // of its views. Empty for a keyword of another implementation.
    virtual std::vector<IDomain*> GetKeywordDomains(IKeyword* keyword) = 0;
    // The flag bits of a contents node (kNodeHeading and the others of model/content.h).
    // REQUIRES: the node comes from the contents of this model or of one of its views. 0 for
    // a node of another implementation.
    virtual uint32_t GetNodeFlags(IContentNode* node) = 0;
    // The domains a contents node belongs to (the domain views that show it), in stored
    // order. REQUIRES as GetNodeFlags.
    virtual std::vector<IDomain*> GetNodeDomains(IContentNode* node) = 0;

protected:
    ~IModelDiagnostics() = default;
};

// The diagnostics of a model or view (of the unrestricted model behind a view); null only for
// a model of another implementation.
IModelDiagnostics* GetModelDiagnostics(IModel* model);

}  // namespace kestrova
