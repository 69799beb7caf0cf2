// The contents of a domain view: the original contents seen through a domain. A node is in
// the view when its domains (which include those of its ancestors) contain the view's; the
// view's roots are the topmost such nodes. Read-only once made; lives as long as its view.
#pragma once

#include "model/content.h"
#include "model/content_node_decorator_impl.h"

#include <vector>

namespace kestrova {

class Content_original_impl_;

class Content_decorator_impl_ final : public IContent,
                                      public IContentNodeList,
                                      public IContentFilter_impl_ {
public:
    // The view of `content` (which must outlive it) for the domain index.
    Content_decorator_impl_(Content_original_impl_& content, int32_t domainIndex);
    Content_decorator_impl_(const Content_decorator_impl_&) = delete;
    Content_decorator_impl_& operator=(const Content_decorator_impl_&) = delete;

    // IContent. The lookups give the view's node for the original result, whether or not
    // that node is in the view.
    IContentNodeList* GetRoots() override { return this; }
    IContentNode* FindNodeByTopic(ITopic* topic) override;
    IContentNode* FindNodeByPage(const char16_t* pagePath) override;
    IContentNode* FindNodeByTitlePath(const std::vector<std::u16string>& path) override;

    // IContentNodeList: the view's roots.
    int32_t GetCount() override { return static_cast<int32_t>(roots_.size()); }
    IContentNode* GetItem(int32_t i) override;

    // IContentFilter_impl_
    bool IsIncluded(int32_t nodeIndex) override;
    IContentNode* GetNode(int32_t nodeIndex) override;

private:
    // The view's node standing for an original node, or null.
    IContentNode* Decorated(IContentNode* original);
    void CollectRoots();

    Content_original_impl_& content_;
    const int32_t domain_;
    std::vector<ContentNode_decorator_impl_> nodes_;  // one per original node, same index
    std::vector<int32_t> roots_;                      // original node indices
};

}  // namespace kestrova
