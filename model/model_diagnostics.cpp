// The diagnostics of the unrestricted model, which also answer for the keywords and nodes of
// its views.
#include "model/model_diagnostics.h"

#include "model/content_node_decorator_impl.h"
#include "model/model_original_impl.h"
#include "platform/path.h"
#include "search/index_store.h"

namespace kestrova {
namespace {

const ContentNode_original_impl_* OriginalNode(IContentNode* node) {
    if (auto* original = dynamic_cast<ContentNode_original_impl_*>(node)) return original;
    if (auto* shown = dynamic_cast<ContentNode_decorator_impl_*>(node)) return shown->Original();
    return nullptr;
}

std::vector<IDomain*> DomainsOf(Model_original_impl_& model, const IndexList& list) {
    std::vector<IDomain*> domains;
    for (int32_t i = 0; i < list.Count(); ++i) {
        if (IDomain* domain = model.GetDomain(list.Item(i))) domains.push_back(domain);
    }
    return domains;
}

}  // namespace

IndexState Model_original_impl_::GetIndexState(IndexKind kind) {
    return kestrova::GetIndexState(DataFolder(), kind, uid);
}

std::u16string Model_original_impl_::GetIndexLogPath(IndexKind kind) {
    return platform::PathFromNative(MakeIndexPaths(DataFolder(), kind).log);
}

std::vector<IDomain*> Model_original_impl_::GetKeywordDomains(IKeyword* keyword) {
    // The lists of a model and of its views hold Keyword_impl_ records of the model.
    const auto* stored = dynamic_cast<Keyword_impl_*>(keyword);
    return stored ? DomainsOf(*this, stored->domains) : std::vector<IDomain*>();
}

uint32_t Model_original_impl_::GetNodeFlags(IContentNode* node) {
    const ContentNode_original_impl_* original = OriginalNode(node);
    return original ? original->flags : 0;
}

std::vector<IDomain*> Model_original_impl_::GetNodeDomains(IContentNode* node) {
    const ContentNode_original_impl_* original = OriginalNode(node);
    return original ? DomainsOf(*this, original->domains) : std::vector<IDomain*>();
}

IModelDiagnostics* GetModelDiagnostics(IModel* model) {
    if (auto* diagnostics = dynamic_cast<IModelDiagnostics*>(model)) return diagnostics;
    IModelFilter* filter = model ? GetModelFilter(model) : nullptr;
    if (!filter) return nullptr;
    // A view keeps its unrestricted model alive, so the pointer outlives this reference.
    const CountedPtr<IModel> whole = filter->GetFiltered(nullptr);
    return dynamic_cast<IModelDiagnostics*>(whole.get());
}

}  // namespace kestrova
