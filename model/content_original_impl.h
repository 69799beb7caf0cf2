// The contents of a model as built: an array of nodes and the list of top-level nodes.
// Also the list of its roots and the host its nodes ask for nodes and topics.
#pragma once

#include "model/content.h"
#include "model/internal/index_list.h"
#include "model/internal/records.h"

#include <vector>

namespace kestrova {

class Content_original_impl_ final : public IContent,
                                     public IContentNodeList,
                                     public IContentNodeHost_impl_ {
public:
    // `topics` is the model's topic access; it must outlive the content.
    explicit Content_original_impl_(ITopicAccess_impl_* topics) : topics_(topics) {}
    Content_original_impl_(const Content_original_impl_&) = delete;
    Content_original_impl_& operator=(const Content_original_impl_&) = delete;

    // IContent
    IContentNodeList* GetRoots() override { return this; }
    IContentNode* FindNodeByTopic(ITopic* topic) override;
    IContentNode* FindNodeByPage(const char16_t* pagePath) override;
    IContentNode* FindNodeByTitlePath(const std::vector<std::u16string>& path) override;

    // IContentNodeList: the top-level nodes
    int32_t GetCount() override { return roots.Count(); }
    IContentNode* GetItem(int32_t i) override;

    // IContentNodeHost_impl_
    IContentNode* GetNode(int32_t i) override;
    ITopicAccess_impl_* GetTopicAccess() override { return topics_; }

    // Nodes that are headings or have children.
    int32_t CountChapters() const;

    // The array index of one of this content's nodes, or -2 for any other node.
    int32_t IndexOf(const IContentNode* node) const;

    // Filled once by the build or the cache reader. Every node's host is this content.
    std::vector<ContentNode_original_impl_> nodes;
    IndexList roots;

private:
    // The topic of a node that the topic and page lookups consider, or null.
    ITopic* CandidateTopic(const ContentNode_original_impl_& node);

    ITopicAccess_impl_* const topics_;
};

}  // namespace kestrova
