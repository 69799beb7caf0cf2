#include "model/model_decorator_impl.h"

#include "model/content_original_impl.h"
#include "model/model_original_impl.h"
#include "model/topic_set_impl.h"
#include "platform/text.h"

namespace kestrova {

Model_decorator_impl_::Model_decorator_impl_(CountedPtr<Model_original_impl_> model,
                                             int32_t domainIndex)
    : tag_(model->domains.at(static_cast<size_t>(domainIndex)).tag),
      domain_(domainIndex),
      model_(std::move(model)),
      keywords_(std::make_unique<KeywordList_impl_>(model_.get())) {
    if (model_->keywords) {
        for (const Keyword_impl_& keyword : model_->keywords->items) {
            if (keyword.domains.Contains(domain_)) keywords_->items.push_back(keyword);
        }
    }
    if (model_->content)
        content_ = std::make_unique<Content_decorator_impl_>(*model_->content, domain_);
}

Model_decorator_impl_::~Model_decorator_impl_() = default;

IDomainList* Model_decorator_impl_::GetDomainList() { return model_->GetDomainList(); }

IURLProvider* Model_decorator_impl_::GetURLProvider() { return model_->GetURLProvider(); }

CountedPtr<ITopicSet> Model_decorator_impl_::FindTopics(const char16_t* query, uint32_t options,
                                                        IExecControl& control) {
    CountedPtr<ITopicSet> found = model_->FindTopics(query, options, control);
    const TopicSet_impl_* set = AsTopicSetImpl(found.get());
    // The model's searches fill sets of its own kind; anything else cannot be filtered, and
    // an unfiltered result would show topics outside the view.
    if (!set) return model_->CreateTopicSet();
    return set->FilterByDomain(domain_);
}

bool Model_decorator_impl_::IsIndexReady() { return model_->IsIndexReady(); }

void Model_decorator_impl_::BuildIndex(IExecControl& control) { model_->BuildIndex(control); }

ITopic* Model_decorator_impl_::FindTopicByHelpId(const char16_t* id) {
    return model_->FindTopicByHelpId(id);
}

bool Model_decorator_impl_::IsOutdated(IExecControl& control) {
    return model_->IsOutdated(control);
}

void Model_decorator_impl_::GetModelInfo(ModelInfo& info) { model_->GetModelInfo(info); }

void Model_decorator_impl_::ExportXml(const char16_t* path) { model_->ExportXml(path); }

CountedPtr<IModel> Model_decorator_impl_::GetFiltered(const char16_t* tag) {
    if (tag && platform::CompareText(StringView(tag), StringView(tag_)) == 0) {
        return CountedPtr<IModel>::Share(this);
    }
    return model_->GetFiltered(tag);
}

}  // namespace kestrova
