#include "model/model_original_impl.h"

#include "model/content_original_impl.h"
#include "model/keyword_list_impl.h"
#include "platform/path.h"
#include "platform/text.h"
#include "platform/url.h"
#include "search/title_words.h"

#include <filesystem>
#include <system_error>

namespace kestrova {
namespace {

template <class T>
T* ItemOrNull(std::vector<T>& items, int32_t i) {
    return i >= 0 && static_cast<size_t>(i) < items.size() ? &items[static_cast<size_t>(i)]
                                                           : nullptr;
}

std::u16string LowerPath(std::u16string_view path) { return platform::ToLower(path); }

}  // namespace

Model_original_impl_::Model_original_impl_(std::u16string htmlFolder, std::u16string dataFolder)
    : htmlFolder_(std::move(htmlFolder)),
      dataFolder_(std::move(dataFolder)),
      cachePath_(platform::JoinPath(dataFolder_, u"preserved.bin")),
      logPath_(platform::JoinPath(dataFolder_, u"model.log")) {
    std::error_code ignored;
    std::filesystem::create_directories(platform::NativePath(dataFolder_), ignored);
}

Model_original_impl_::~Model_original_impl_() = default;

IContent* Model_original_impl_::GetContent() { return content.get(); }

IKeywordList* Model_original_impl_::GetKeywordList() { return keywords.get(); }

IPageInfo* Model_original_impl_::GetPage(int32_t i) { return ItemOrNull(pages, i); }

ITopic* Model_original_impl_::GetTopic(int32_t i) { return ItemOrNull(topics, i); }

IDomain* Model_original_impl_::GetDomain(int32_t i) { return ItemOrNull(domains, i); }

int32_t Model_original_impl_::FindPageIndex(std::u16string_view relativePath) const {
    std::call_once(pageIndexOnce_, [this] { BuildPageIndex(); });
    const auto it = pageIndex_.find(LowerPath(relativePath));
    return it == pageIndex_.end() ? kNoIndex : it->second;
}

int32_t Model_original_impl_::FirstPageWithPathOf(int32_t i) const {
    std::call_once(pageIndexOnce_, [this] { BuildPageIndex(); });
    return firstPageWithPath_[static_cast<size_t>(i)];
}

const TitleWords& Model_original_impl_::GetTitleWords() const {
    std::call_once(titleWordsOnce_, [this] {
        std::vector<const char16_t*> titles;
        titles.reserve(pages.size());
        for (const PageInfo_impl_& page : pages) titles.push_back(page.title);
        titleWords_ = std::make_unique<TitleWords>(titles);
    });
    return *titleWords_;
}

void Model_original_impl_::BuildPageIndex() const {
    pageIndex_.reserve(pages.size());
    firstPageWithPath_.reserve(pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        // emplace keeps the first page of a path; a later one finds it.
        const auto placed =
            pageIndex_.emplace(LowerPath(StringView(pages[i].file.path)), static_cast<int32_t>(i));
        firstPageWithPath_.push_back(placed.first->second);
    }
}

void Model_original_impl_::GetModelInfo(ModelInfo& info) {
    info.htmlFolder = htmlFolder_.c_str();
    info.dataFolder = dataFolder_.c_str();
    info.pages = static_cast<int32_t>(pages.size());
    info.topics = static_cast<int32_t>(topics.size());
    info.domains = static_cast<int32_t>(domains.size());
    info.chapters = content ? content->CountChapters() : 0;
    info.keywords = keywords ? keywords->GetCount() : 0;
    info.contextIds = static_cast<int32_t>(contextIds.size());
}

ITopic* Model_original_impl_::FindTopicByHelpId(const char16_t* id) {
    const std::u16string_view key = StringView(id);
    size_t lo = 0, hi = contextIds.size();
    while (lo < hi) {
        const size_t mid = lo + (hi - lo) / 2;
        if (platform::CompareTextNoCase(StringView(contextIds[mid].id), key) < 0)
            lo = mid + 1;
        else
            hi = mid;
    }
    if (lo == contextIds.size()) return nullptr;
    if (platform::CompareTextNoCase(key, StringView(contextIds[lo].id)) < 0) return nullptr;
    return GetTopic(contextIds[lo].topicIndex);
}

const char16_t* Model_original_impl_::GetURL(const char16_t* pagePath, const char16_t* anchor) {
    std::u16string url =
        platform::FileUrlFromPath(platform::JoinPath(htmlFolder_, StringView(pagePath)));
    if (url.empty()) return nullptr;
    if (anchor) {
        url.push_back(u'#');
        url.append(platform::EscapeSpaces(StringView(anchor)));
    }
    urlBuffer_ = std::move(url);
    return urlBuffer_.c_str();
}

const char16_t* Model_original_impl_::GetRelativePath(const char16_t* urlOrPath) {
    std::u16string path(StringView(urlOrPath));
    if (platform::IsFileUrl(path)) {
        auto converted = platform::PathFromFileUrl(path);
        if (!converted) return nullptr;
        path = std::move(*converted);
    } else if (platform::IsUrl(path)) {
        return nullptr;
    }
    auto relative = platform::RelativePathTo(htmlFolder_, path);
    if (!relative) return nullptr;
    if (relative->starts_with(u".\\")) relative->erase(0, 2);
    urlBuffer_ = std::move(*relative);
    return urlBuffer_.c_str();
}

IModelFilter* GetModelFilter(IModel* model) { return dynamic_cast<IModelFilter*>(model); }

}  // namespace kestrova
