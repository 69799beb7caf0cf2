// The model as built from the pages or restored from the cache. Filled once by the build or
// by the cache reader, then never changed. Internal to the model library and its builders.
#pragma once

#include "model/counted.h"
#include "model/domain.h"
#include "model/internal/dump_helper.h"
#include "model/internal/model_pool.h"
#include "model/internal/records.h"
#include "model/model.h"
#include "model/model_diagnostics.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "model/url_provider.h"

#include <array>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

namespace kestrova {

class Content_original_impl_;
class KeywordList_impl_;
class TitleWords;

class Model_original_impl_ final : public IModel,
                                   public IModelFilter,
                                   public IURLProvider,
                                   public IDomainList,
                                   public IPageAccess_impl_,
                                   public ITopicAccess_impl_,
                                   public IDumpHelper_impl_,
                                   public IModelDiagnostics {
public:
    // An empty model of the knowledge-base folder; the data folder is created when missing,
    // and the cache and log paths are derived from it. Starts with one reference.
    Model_original_impl_(std::u16string htmlFolder, std::u16string dataFolder);
    ~Model_original_impl_() override;

    // IModel
    IDomainList* GetDomainList() override { return this; }
    IContent* GetContent() override;
    IKeywordList* GetKeywordList() override;
    IURLProvider* GetURLProvider() override { return this; }
    CountedPtr<ITopicSet> FindTopics(const char16_t* query, uint32_t options,
                                     IExecControl& control) override;
    bool IsIndexReady() override;
    void BuildIndex(IExecControl& control) override;
    ITopic* FindTopicByHelpId(const char16_t* id) override;
    bool IsOutdated(IExecControl& control) override;
    void GetModelInfo(ModelInfo& info) override;
    void ExportXml(const char16_t* path) override;

    // IModelFilter
    const char16_t* GetFilterTag() override { return nullptr; }
    CountedPtr<IModel> GetFiltered(const char16_t* tag) override;

    // IURLProvider
    const char16_t* GetURL(const char16_t* pagePath, const char16_t* anchor) override;
    const char16_t* GetRelativePath(const char16_t* urlOrPath) override;

    // IDomainList
    int32_t GetCount() override { return static_cast<int32_t>(domains.size()); }
    IDomain* GetItem(int32_t i) override { return GetDomain(i); }

    // IPageAccess_impl_
    IPageInfo* GetPage(int32_t i) override;

    // ITopicAccess_impl_
    ITopic* GetTopic(int32_t i) override;
    CountedPtr<ITopicSet> CreateTopicSet() override;

    // IDumpHelper_impl_
    IDomain* GetDomain(int32_t i) override;

    // IModelDiagnostics
    ModelUid GetModelId() override { return uid; }
    bool IsBuiltFromPages() override { return builtFromPages; }
    std::string GetCacheSaveFailure() override { return cacheSaveFailure; }
    std::u16string GetLogPath() override { return logPath_; }
    IndexState GetIndexState(IndexKind kind) override;
    std::u16string GetIndexLogPath(IndexKind kind) override;
    std::vector<IDomain*> GetKeywordDomains(IKeyword* keyword) override;
    uint32_t GetNodeFlags(IContentNode* node) override;
    std::vector<IDomain*> GetNodeDomains(IContentNode* node) override;

    // Index of the page whose relative path equals the path ignoring letter case, or -2.
    int32_t FindPageIndex(std::u16string_view relativePath) const;
    // FindPageIndex of page i's own path: i, or an earlier page whose path differs only in
    // letter case. REQUIRES: 0 <= i < pages.size().
    int32_t FirstPageWithPathOf(int32_t i) const;
    // The words of the page titles, in page order, split on first use (titles-only search).
    const TitleWords& GetTitleWords() const;

    // Folders and files.
    const std::u16string& HtmlFolder() const { return htmlFolder_; }
    const std::u16string& DataFolder() const { return dataFolder_; }
    const std::u16string& CachePath() const { return cachePath_; }
    const std::u16string& LogPath() const { return logPath_; }

    // The stored data, filled once by the build or the cache reader.
    ModelPool pool;
    ModelUid uid{};                // model identifier, a binary GUID
    bool builtFromPages = false;   // set by the build, not by the cache reader
    std::string cacheSaveFailure;  // set by the build when the cache could not be written
    std::vector<Domain_impl_> domains;
    std::vector<PageInfo_impl_> pages;
    std::vector<FileInfo> skippedFiles;
    std::vector<Topic_impl_> topics;
    std::unique_ptr<KeywordList_impl_> keywords;
    std::vector<ContextIdEntry> contextIds;  // sorted by id, case-insensitive
    std::unique_ptr<Content_original_impl_> content;

private:
    const std::u16string htmlFolder_;
    const std::u16string dataFolder_;
    const std::u16string cachePath_;
    const std::u16string logPath_;
    std::u16string urlBuffer_;  // receives the strings returned by IURLProvider

    // Page lookup by lower-cased relative path, and for each page the first page of its path,
    // built together on first use (the model is immutable).
    void BuildPageIndex() const;
    mutable std::once_flag pageIndexOnce_;
    mutable std::unordered_map<std::u16string, int32_t> pageIndex_;
    mutable std::vector<int32_t> firstPageWithPath_;
    mutable std::once_flag titleWordsOnce_;
    mutable std::unique_ptr<TitleWords> titleWords_;
};

}  // namespace kestrova
