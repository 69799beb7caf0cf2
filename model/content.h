// The table of contents. Nodes and lists are owned by the model (or by the view that made
// them) and stay valid as long as it. Thread-safe to read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kestrova {

// Flag bits of a contents node (IModelDiagnostics::GetNodeFlags).
inline constexpr uint32_t kNodeHiddenInLocation = 1;  // left out of the page locations
inline constexpr uint32_t kNodeHeading = 2;           // a chapter heading
inline constexpr uint32_t kNodeSecondaryProfile = 4;  // from a profile other than the default

class ITopic;
class ITopicAccess_impl_;
class IContentNodeList;

class IContentNode {
public:
    // The node's text, or null.
    virtual const char16_t* GetText() = 0;
    // The topic the node opens, or null when it opens none.
    virtual ITopic* GetTopic() = 0;
    // Clears the list and fills it with the texts of the node and its ancestors, root first.
    virtual void GetTitlePath(std::vector<std::u16string>& path) = 0;
    // The parent node, or null for a top-level node.
    virtual IContentNode* GetParent() = 0;
    // The children; null when the node is neither a heading nor has children (a heading
    // without children gives an empty list).
    virtual IContentNodeList* GetChildren() = 0;

protected:
    ~IContentNode() = default;
};

class IContentNodeList {
public:
    virtual int32_t GetCount() = 0;
    // Node i, or null when i is out of range.
    virtual IContentNode* GetItem(int32_t i) = 0;

protected:
    ~IContentNodeList() = default;
};

class IContent {
public:
    // The top-level nodes.
    virtual IContentNodeList* GetRoots() = 0;
    // The node that opens the topic, or null.
    virtual IContentNode* FindNodeByTopic(ITopic* topic) = 0;
    // The node of the page with this relative path, or null.
    virtual IContentNode* FindNodeByPage(const char16_t* pagePath) = 0;
    // The node reached by the chain of texts, root first, or null.
    virtual IContentNode* FindNodeByTitlePath(const std::vector<std::u16string>& path) = 0;

protected:
    ~IContent() = default;
};

// What the nodes of a content know of their owner.
class IContentNodeHost_impl_ {
public:
    // Node i of the content's array, or null.
    virtual IContentNode* GetNode(int32_t i) = 0;
    virtual ITopicAccess_impl_* GetTopicAccess() = 0;

protected:
    ~IContentNodeHost_impl_() = default;
};

// What the nodes of a filtered content ask of the filter.
class IContentFilter_impl_ {
public:
    // True when the node with this index of the original content is part of the view.
    virtual bool IsIncluded(int32_t nodeIndex) = 0;
    // The view's node for the original node index, or null.
    virtual IContentNode* GetNode(int32_t nodeIndex) = 0;

protected:
    ~IContentFilter_impl_() = default;
};

}  // namespace kestrova
