// The model of one knowledge base: its domains, pages, topics, contents, keywords and
// context-help ids. Every other part of the system sees a model only through these
// interfaces.
//
// Thread safety: a model is immutable once built or restored, and any number of threads may
// read it, except the IURLProvider results, which share one buffer (one thread at a time).
// Non-counted objects a model hands out live exactly as long as the model: keep a
// CountedPtr<IModel> while you use them.
#pragma once

#include "model/counted.h"

#include <cstdint>

namespace kestrova {

class IContent;
class IDomainList;
class IExecControl;
class IKeywordList;
class ITopic;
class ITopicSet;
class IURLProvider;

// Search option bits of FindTopics.
inline constexpr uint32_t kSearchTitles = 1;         // match page titles instead of the full text
inline constexpr uint32_t kSearchRelatedWords = 2;   // compare dictionary forms (lemmatizing index)
inline constexpr uint32_t kSearchQueryLanguage = 4;  // the query is in the query language

// Counts and folders of a model, filled by GetModelInfo. The paths point into the model.
struct ModelInfo {
    const char16_t* htmlFolder = nullptr;  // the knowledge-base folder
    const char16_t* dataFolder = nullptr;  // where the cache, the log and the index live
    int32_t pages = 0;
    int32_t topics = 0;
    int32_t domains = 0;
    int32_t chapters = 0;  // content nodes that are headings or have children
    int32_t keywords = 0;
    int32_t contextIds = 0;
};

class IModel : public CounterBase_ {
public:
    virtual IDomainList* GetDomainList() = 0;
    virtual IContent* GetContent() = 0;
    virtual IKeywordList* GetKeywordList() = 0;
    virtual IURLProvider* GetURLProvider() = 0;
    // Runs a search (option bits above); never null: empty when nothing was found or the
    // search could not run (an index build held the index). Throws BreakExec when the control
    // asks to stop, and a std::runtime_error that says what failed when the index cannot be
    // opened or the query cannot be parsed ("can't parse query: ..."). Search thread.
    virtual CountedPtr<ITopicSet> FindTopics(const char16_t* query, uint32_t options,
                                             IExecControl& control) = 0;
    // True when the full-text index in the data folder exists and carries this model's id.
    virtual bool IsIndexReady() = 0;
    // Builds the full-text index of the model's pages in the data folder.
    virtual void BuildIndex(IExecControl& control) = 0;
    // The topic of a context-help id (case-insensitive), or null.
    virtual ITopic* FindTopicByHelpId(const char16_t* id) = 0;
    // True when the HTML files now in the folder differ from those the model was made from.
    virtual bool IsOutdated(IExecControl& control) = 0;
    virtual void GetModelInfo(ModelInfo& info) = 0;
    // Writes the whole model as XML, replacing the file only once the new one is complete;
    // throws platform::io_error("file savinig failure", errno of the failed call) when the
    // file cannot be written, leaving an existing file as it was.
    virtual void ExportXml(const char16_t* path) = 0;
};

// The second base of every model: domain-restricted views.
class IModelFilter {
public:
    // The tag this model is restricted to, or null for the unrestricted model.
    virtual const char16_t* GetFilterTag() = 0;
    // The view of the domain with this tag (case-sensitive). The unrestricted model gives
    // itself for a null, empty or unknown tag, else a new view; a view gives itself for its
    // own tag and passes any other to the model it wraps.
    virtual CountedPtr<IModel> GetFiltered(const char16_t* tag) = 0;

protected:
    ~IModelFilter() = default;
};

// The IModelFilter of a model (every model has one).
IModelFilter* GetModelFilter(IModel* model);

// Receives models from the loader thread.
class IModelSubsriber_impl_ {
public:
    // A model is available (null when loading failed). Called on the loader thread.
    virtual void OnModel(CountedPtr<IModel> model) = 0;

protected:
    ~IModelSubsriber_impl_() = default;
};

}  // namespace kestrova
