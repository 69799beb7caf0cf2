// A view of a model restricted to one domain: the contents, keyword index and search
// results that belong to the domain. Everything else goes to the unrestricted model, which
// the view keeps alive. Made only by the unrestricted model's GetFiltered; read-only.
#pragma once

#include "model/content_decorator_impl.h"
#include "model/keyword_list_impl.h"
#include "model/model.h"

#include <memory>

namespace kestrova {

class Model_original_impl_;

class Model_decorator_impl_ final : public IModel, public IModelFilter {
public:
    // The view of the model's domain with this index. Starts with one reference.
    Model_decorator_impl_(CountedPtr<Model_original_impl_> model, int32_t domainIndex);
    ~Model_decorator_impl_() override;

    // IModel
    IDomainList* GetDomainList() override;
    IContent* GetContent() override { return content_.get(); }
    IKeywordList* GetKeywordList() override { return keywords_.get(); }
    IURLProvider* GetURLProvider() override;
    // The unrestricted model's result, filtered to the view's domain (ranks unchanged).
    CountedPtr<ITopicSet> FindTopics(const char16_t* query, uint32_t options,
                                     IExecControl& control) override;
    bool IsIndexReady() override;
    void BuildIndex(IExecControl& control) override;
    ITopic* FindTopicByHelpId(const char16_t* id) override;
    bool IsOutdated(IExecControl& control) override;
    void GetModelInfo(ModelInfo& info) override;
    void ExportXml(const char16_t* path) override;

    // IModelFilter
    const char16_t* GetFilterTag() override { return tag_; }
    CountedPtr<IModel> GetFiltered(const char16_t* tag) override;

    int32_t DomainIndex() const { return domain_; }

private:
    const char16_t* tag_;  // the domain's tag in the wrapped model
    const int32_t domain_;
    CountedPtr<Model_original_impl_> model_;
    std::unique_ptr<KeywordList_impl_> keywords_;       // the keywords of the domain
    std::unique_ptr<Content_decorator_impl_> content_;  // null when the model has no content
};

}  // namespace kestrova
