// The records stored in a model. Each kind lives in one array owned by the model, in the order
// fixed when the model was built; a record's position is its index, used everywhere as a
// 32-bit signed integer, with -2 meaning "none". Strings point into the model's pool.
#pragma once

#include "model/content.h"
#include "model/domain.h"
#include "model/internal/index_list.h"
#include "model/keyword.h"
#include "model/page_info.h"
#include "model/topic.h"

#include <cstdint>

namespace kestrova {

inline constexpr int32_t kNoIndex = -2;

class Domain_impl_ final : public IDomain {
public:
    const char16_t* GetTag() override { return tag; }
    const char16_t* GetDisplayName() override { return displayName; }

    const char16_t* tag = nullptr;  // meta `domain` of the pages
    const char16_t* displayName = nullptr;
};

// A file below the knowledge-base folder.
struct FileInfo {
    const char16_t* path = nullptr;  // relative, parts joined with '\'
    uint64_t lastWriteTime = 0;      // 100 ns since 1601-01-01 UTC
    uint32_t size = 0;               // low 32 bits of the size in bytes
};

class PageInfo_impl_ final : public IPageInfo {
public:
    const char16_t* GetPath() override { return file.path; }
    const char16_t* GetTitle() override { return title; }
    const char16_t* GetLocation() override { return location; }

    FileInfo file;
    const char16_t* title = nullptr;     // may be null
    const char16_t* location = nullptr;  // may be null
    IndexList domains;                   // domain indices
};

class Topic_impl_ final : public ITopic {
public:
    IPageInfo* GetPage() override { return pages ? pages->GetPage(pageIndex) : nullptr; }
    const char16_t* GetAnchor() override { return anchor; }

    IPageAccess_impl_* pages = nullptr;  // the model's page access
    int32_t pageIndex = kNoIndex;
    const char16_t* anchor = nullptr;  // null for the whole page
};

class Keyword_impl_ final : public IKeyword {
public:
    const char16_t* GetText() override { return text; }

    const char16_t* text = nullptr;
    IndexList topics;   // topic indices
    IndexList domains;  // union of the domains of the pages of its topics
};

struct ContextIdEntry {
    const char16_t* id = nullptr;
    int32_t topicIndex = kNoIndex;
};

// A node of the original (unfiltered) contents; also the list of its own children.
class ContentNode_original_impl_ final : public IContentNode, public IContentNodeList {
public:
    // IContentNode
    const char16_t* GetText() override { return text; }
    ITopic* GetTopic() override;
    void GetTitlePath(std::vector<std::u16string>& path) override;
    IContentNode* GetParent() override;
    IContentNodeList* GetChildren() override;
    // IContentNodeList: the children
    int32_t GetCount() override { return children.Count(); }
    IContentNode* GetItem(int32_t i) override;

    IContentNodeHost_impl_* host = nullptr;
    const char16_t* text = nullptr;  // may be null
    uint32_t flags = 0;
    int32_t topicIndex = kNoIndex;
    int32_t parentIndex = kNoIndex;
    IndexList children;  // node indices
    IndexList domains;   // domain indices
};

}  // namespace kestrova
