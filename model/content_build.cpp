#include "model/internal/content_build.h"

#include "model/content_original_impl.h"
#include "model/internal/topic_registry.h"
#include "model/internal/weight.h"
#include "model/model_original_impl.h"
#include "model/page/log.h"
#include "platform/text.h"

#include <algorithm>
#include <climits>
#include <functional>
#include <map>
#include <unordered_map>
#include <vector>

namespace kestrova {
namespace {

constexpr int32_t kRootList = -1;  // "parent" of the top-level build nodes

// A node while the tree is being built.
struct BuildNode {
    const char16_t* text = nullptr;  // pool string, null for an empty text
    int32_t weight = 0;
    uint32_t flags = 0;
    int32_t topic = kNoIndex;
    std::vector<int32_t> domains;   // each once, in order of first addition
    std::vector<int32_t> children;  // build node ids, in order of creation
};

void AddDomains(std::vector<int32_t>& into, const std::vector<int32_t>& from) {
    for (int32_t d : from) {
        if (std::find(into.begin(), into.end(), d) == into.end()) into.push_back(d);
    }
}

// The file name of a relative path without folder and extension.
std::u16string_view BareFileName(std::u16string_view path) {
    const size_t slash = path.find_last_of(u'\\');
    if (slash != std::u16string_view::npos) path.remove_prefix(slash + 1);
    const size_t dot = path.find_last_of(u'.');
    return dot == std::u16string_view::npos ? path : path.substr(0, dot);
}

// Chapter steps taken from the folders of a relative path: the topmost goes to the bottom.
std::vector<ChapterStep> FolderSteps(std::u16string_view path) {
    std::vector<ChapterStep> steps;
    const size_t slash = path.find_last_of(u'\\');
    if (slash == std::u16string_view::npos) return steps;
    std::u16string_view dir = path.substr(0, slash);
    while (!dir.empty()) {
        const size_t cut = dir.find(u'\\');
        const std::u16string_view part = dir.substr(0, cut);
        if (!part.empty())
            steps.push_back({std::u16string(part), steps.empty() ? INT32_MIN : 0, false});
        dir = cut == std::u16string_view::npos ? std::u16string_view() : dir.substr(cut + 1);
    }
    return steps;
}

class ContentBuilder {
public:
    // `pages`: how many pages will be placed, to size the tables once.
    ContentBuilder(Model_original_impl_& model, TopicRegistry& registry, ILog& log, size_t pages)
        : model_(model), registry_(registry), log_(log) {
        nodes_.reserve(pages);
        firstChild_.reserve(pages);
        for (size_t i = 0; i < model.domains.size(); ++i) {
            domainIndex_.emplace(std::u16string(StringView(model.domains[i].tag)),
                                 static_cast<int32_t>(i));
        }
    }

    void PlacePage(int32_t pageIndex, const PageRecord& page);
    void Finish(Content_original_impl_& content);

private:
    // One placing of a page: its profile and the lists that profile uses.
    struct Placing {
        int32_t pageIndex;
        const PageRecord& page;
        bool secondary;  // a profile other than the default one
        const std::vector<ChapterStep>& steps;
        const std::vector<ContentEntry>& entries;
    };
    struct ChildKey {
        int32_t parent;
        std::u16string_view text;
        bool operator==(const ChildKey& o) const {
            return parent == o.parent && platform::SameCodeUnits(text, o.text);
        }
    };
    struct ChildKeyHash {
        size_t operator()(const ChildKey& k) const {
            return std::hash<std::u16string_view>()(k.text) * 31 + static_cast<size_t>(k.parent);
        }
    };
    struct TextLess {
        bool operator()(const std::u16string& a, const std::u16string& b) const {
            return platform::CompareText(a, b) < 0;
        }
    };

    void Place(const Placing& p);
    int32_t WalkSteps(const Placing& p, const std::vector<ChapterStep>& steps, bool withDomains);
    std::vector<int32_t> StepDomains(const Placing& p, size_t step, size_t count) const;
    std::vector<int32_t> KnownDomains(const PageRecord& page) const;
    int32_t DomainOf(const std::u16string& tag) const;
    void AddEntry(const Placing& p, const ContentEntry& entry, int32_t chapter,
                  const std::vector<int32_t>& domains);
    int32_t Append(int32_t parent, BuildNode node);
    void Merge(BuildNode& into, const BuildNode& from, const char16_t* path);
    void SortSiblings(std::vector<int32_t>& group) const;

    Model_original_impl_& model_;
    TopicRegistry& registry_;
    ILog& log_;
    std::map<std::u16string, int32_t, TextLess> domainIndex_;           // tag -> first domain index
    mutable std::unordered_map<std::u16string, int32_t> domainOfText_;  // DomainOf by exact text
    std::vector<BuildNode> nodes_;
    std::vector<int32_t> roots_;
    // The first node of each sibling list with a given text: chapter names are found without
    // walking the siblings, so a chapter with many thousands of pages stays linear.
    std::unordered_map<ChildKey, int32_t, ChildKeyHash> firstChild_;
};

void ContentBuilder::PlacePage(int32_t pageIndex, const PageRecord& page) {
    const PageMeta& meta = page.meta;
    Place({pageIndex, page, false, meta.chapters.defaultList, meta.contents.defaultList});
    for (const auto& [profile, steps] : meta.chapters.profiles) {
        if (steps.empty()) continue;
        const auto own = meta.contents.profiles.find(profile);
        const bool hasOwn = own != meta.contents.profiles.end() && !own->second.empty();
        Place({pageIndex, page, true, steps, hasOwn ? own->second : meta.contents.defaultList});
    }
}

void ContentBuilder::Place(const Placing& p) {
    int32_t chapter = kRootList;
    if (!p.page.meta.rootChapter) {
        if (!p.steps.empty()) {
            chapter = WalkSteps(p, p.steps, true);
        } else {
            const std::vector<ChapterStep> folders = FolderSteps(StringView(p.page.file.path));
            if (!folders.empty()) {
                chapter = WalkSteps(p, folders, false);
                AddDomains(nodes_[static_cast<size_t>(chapter)].domains, KnownDomains(p.page));
            }
        }
    }
    const std::vector<int32_t> pageDomains =
        chapter == kRootList ? KnownDomains(p.page) : std::vector<int32_t>();
    if (p.entries.empty()) {
        AddEntry(p, ContentEntry{}, chapter, pageDomains);
        return;
    }
    for (const ContentEntry& entry : p.entries) AddEntry(p, entry, chapter, pageDomains);
}

int32_t ContentBuilder::WalkSteps(const Placing& p, const std::vector<ChapterStep>& steps,
                                  bool withDomains) {
    int32_t parent = kRootList;
    // Every reader of the tree (the viewer's, the export, the outline) goes as deep as the
    // tree does: a path beyond a sane depth is cut, and its page placed at the last level kept.
    const size_t count = std::min(steps.size(), kMaxChapterDepth);
    if (count < steps.size()) {
        log_.WriteFormat("Chapter path of %d levels cut to %d at %S",
                         static_cast<int>(std::min<size_t>(steps.size(), INT_MAX)),
                         static_cast<int>(count), p.page.file.path);
    }
    for (size_t i = 0; i < count; ++i) {
        const ChapterStep& step = steps[i];
        BuildNode tmpl;
        tmpl.weight = step.order;
        tmpl.flags =
            (step.hidden ? kNodeHiddenInLocation : 0) | (p.secondary ? kNodeSecondaryProfile : 0);
        if (withDomains) tmpl.domains = StepDomains(p, i, count);
        const auto found = firstChild_.find(ChildKey{parent, step.name});
        if (found == firstChild_.end()) {
            tmpl.text = model_.pool.CopyStringOrNull(step.name);
            parent = Append(parent, std::move(tmpl));
        } else {
            parent = found->second;
            Merge(nodes_[static_cast<size_t>(parent)], tmpl, p.page.file.path);
        }
    }
    return parent;
}

// The domains a chapter step gets: those whose `domain-chapter` ends at or above it, and
// those without one at the last step.
std::vector<int32_t> ContentBuilder::StepDomains(const Placing& p, size_t step,
                                                 size_t count) const {
    std::vector<int32_t> domains;
    for (const DomainEntry& entry : p.page.meta.domains) {
        const int32_t l = entry.chapterIndex;
        const bool applies =
            (l >= 0 && step >= static_cast<size_t>(l)) || (l == -1 && step + 1 == count);
        if (!applies) continue;
        const int32_t d = DomainOf(entry.tag);
        if (d != kNoIndex && std::find(domains.begin(), domains.end(), d) == domains.end())
            domains.push_back(d);
    }
    return domains;
}

std::vector<int32_t> ContentBuilder::KnownDomains(const PageRecord& page) const {
    std::vector<int32_t> domains;
    for (const DomainEntry& entry : page.meta.domains) {
        const int32_t d = DomainOf(entry.tag);
        if (d != kNoIndex && std::find(domains.begin(), domains.end(), d) == domains.end())
            domains.push_back(d);
    }
    return domains;
}

int32_t ContentBuilder::DomainOf(const std::u16string& tag) const {
    if (tag.empty()) return kNoIndex;
    // Every page names its domains again: the answer for a text, found by collation once,
    // is kept under the exact text.
    const auto known = domainOfText_.find(tag);
    if (known != domainOfText_.end()) return known->second;
    const auto it = domainIndex_.find(tag);
    const int32_t domain = it == domainIndex_.end() ? kNoIndex : it->second;
    domainOfText_.emplace(tag, domain);
    return domain;
}

void ContentBuilder::AddEntry(const Placing& p, const ContentEntry& entry, int32_t chapter,
                              const std::vector<int32_t>& domains) {
    const char16_t* path = p.page.file.path;
    BuildNode node;
    node.weight = (chapter != kRootList || entry.order != 0) ? entry.order : INT32_MIN;
    node.topic = registry_.GetTopicIndex(p.pageIndex, entry.anchor);
    node.flags = p.secondary ? kNodeSecondaryProfile : 0;
    node.domains = domains;
    if (entry.index) {
        if (chapter != kRootList) {
            BuildNode& heading = nodes_[static_cast<size_t>(chapter)];
            heading.flags |= kNodeHeading;
            Merge(heading, node, path);
            return;
        }
        log_.WriteFormat("Heading not supported for root chapter at %S", path);
    }
    std::u16string_view text = entry.text;
    if (text.empty()) text = p.page.meta.title;
    if (text.empty()) text = BareFileName(StringView(path));
    if (text.empty()) log_.WriteFormat("Empty content text for page %S", path);
    node.text = model_.pool.CopyStringOrNull(text);
    Append(chapter, std::move(node));
}

int32_t ContentBuilder::Append(int32_t parent, BuildNode node) {
    const auto id = static_cast<int32_t>(nodes_.size());
    const char16_t* text = node.text;
    nodes_.push_back(std::move(node));
    (parent == kRootList ? roots_ : nodes_[static_cast<size_t>(parent)].children).push_back(id);
    firstChild_.try_emplace(ChildKey{parent, StringView(text)}, id);
    return id;
}

void ContentBuilder::Merge(BuildNode& into, const BuildNode& from, const char16_t* path) {
    const WeightMerge merged = MergeWeight(into.weight, from.weight);
    if (merged.mixed)
        log_.WriteFormat("Mixed weight (%d, %d) for content node at %S", into.weight, from.weight,
                         path);
    into.weight = merged.weight;
    into.flags |= from.flags & kNodeHiddenInLocation;
    if ((into.flags ^ from.flags) & kNodeSecondaryProfile)
        log_.WriteFormat("Mixed profile for content node at %S", path);
    if (from.topic != kNoIndex) {
        if (into.topic == kNoIndex)
            into.topic = from.topic;
        else
            log_.WriteFormat("Topic conflict for content node at %S", path);
    }
    AddDomains(into.domains, from.domains);
}

void ContentBuilder::SortSiblings(std::vector<int32_t>& group) const {
    if (group.size() < 2) return;
    // A chapter may hold many thousands of pages: a large group gets one collation per
    // sibling (a sort key) instead of one per comparison. A small one is cheaper to compare
    // directly, and sort keys order exactly as the comparison does, so the result is the same.
    constexpr size_t kLargeGroup = 32;
    const bool keyed = group.size() > kLargeGroup;
    struct Sibling {
        int32_t weight;
        std::string key;
        int32_t id;
    };
    std::vector<Sibling> siblings;
    siblings.reserve(group.size());
    for (int32_t id : group) {
        const BuildNode& node = nodes_[static_cast<size_t>(id)];
        siblings.push_back(
            {node.weight, keyed ? platform::SortKey(StringView(node.text)) : std::string(), id});
    }
    std::sort(siblings.begin(), siblings.end(), [&](const Sibling& a, const Sibling& b) {
        const int w = CompareWeight(a.weight, b.weight);
        if (w != 0) return w < 0;
        if (keyed) return a.key < b.key;
        return platform::CompareText(StringView(nodes_[static_cast<size_t>(a.id)].text),
                                     StringView(nodes_[static_cast<size_t>(b.id)].text)) < 0;
    });
    for (size_t i = 0; i < group.size(); ++i) group[i] = siblings[i].id;
}

// Lays the tree out in the node array: the roots first, then each sibling group followed at
// once, depth first, by the groups below its members. An explicit stack keeps very deep
// chapter paths off the call stack.
void ContentBuilder::Finish(Content_original_impl_& content) {
    std::vector<ContentNode_original_impl_>& records = content.nodes;
    records.clear();
    records.reserve(nodes_.size());
    std::vector<int32_t> buildOf;  // record index -> build node id
    buildOf.reserve(nodes_.size());
    std::vector<int32_t> range;
    ModelPool& pool = model_.pool;

    const auto appendGroup = [&](std::vector<int32_t>& group, int32_t parentRecord) {
        SortSiblings(group);
        range.clear();
        for (int32_t id : group) {
            const BuildNode& b = nodes_[static_cast<size_t>(id)];
            ContentNode_original_impl_& r = records.emplace_back();
            r.host = &content;
            r.text = b.text;
            r.flags = b.flags;
            r.topicIndex = b.topic;
            r.parentIndex = parentRecord;
            range.push_back(static_cast<int32_t>(records.size() - 1));
            buildOf.push_back(id);
        }
        return IndexList::From(pool, range);
    };

    struct Frame {
        int32_t first, count, next;
    };
    std::vector<Frame> stack;
    content.roots = appendGroup(roots_, kNoIndex);
    stack.push_back({0, static_cast<int32_t>(roots_.size()), 0});
    std::vector<int32_t> domains;
    while (!stack.empty()) {
        Frame& top = stack.back();
        if (top.next == top.count) {
            stack.pop_back();
            continue;
        }
        const int32_t index = top.first + top.next++;
        BuildNode& b = nodes_[static_cast<size_t>(buildOf[static_cast<size_t>(index)])];
        domains.clear();
        const int32_t parent = records[static_cast<size_t>(index)].parentIndex;
        if (parent != kNoIndex) {
            const IndexList& inherited = records[static_cast<size_t>(parent)].domains;
            for (int32_t i = 0; i < inherited.Count(); ++i) domains.push_back(inherited.Item(i));
        }
        AddDomains(domains, b.domains);
        records[static_cast<size_t>(index)].domains = IndexList::From(pool, domains);
        if (b.children.empty()) continue;
        const auto first = static_cast<int32_t>(records.size());
        records[static_cast<size_t>(index)].children = appendGroup(b.children, index);
        stack.push_back({first, static_cast<int32_t>(b.children.size()), 0});
    }
}

// The location of a node: the texts of its ancestors, root first, without the hidden ones.
std::u16string LocationText(const std::vector<ContentNode_original_impl_>& nodes,
                            const ContentNode_original_impl_& node) {
    std::vector<const char16_t*> texts;
    for (int32_t p = node.parentIndex; p >= 0 && static_cast<size_t>(p) < nodes.size();
         p = nodes[static_cast<size_t>(p)].parentIndex) {
        const ContentNode_original_impl_& a = nodes[static_cast<size_t>(p)];
        if ((a.flags & kNodeHiddenInLocation) == 0 && a.text) texts.push_back(a.text);
    }
    std::u16string location;
    for (auto it = texts.rbegin(); it != texts.rend(); ++it) {
        if (it != texts.rbegin()) location += u": ";
        location += StringView(*it);
    }
    return location;
}

}  // namespace

void BuildContent(Model_original_impl_& model, std::span<const PageRecord> pages,
                  TopicRegistry& registry, ILog& log) {
    ContentBuilder builder(model, registry, log, pages.size());
    for (size_t i = 0; i < pages.size(); ++i) builder.PlacePage(static_cast<int32_t>(i), pages[i]);
    model.content = std::make_unique<Content_original_impl_>(&model);
    builder.Finish(*model.content);
}

void AssignPageLocations(Model_original_impl_& model) {
    if (!model.content) return;
    const std::vector<ContentNode_original_impl_>& nodes = model.content->nodes;
    // A location depends on the parent only: the pages of one chapter share its text.
    std::unordered_map<int32_t, const char16_t*> locationBelow;  // parent index -> location
    for (const ContentNode_original_impl_& node : nodes) {
        if ((node.flags & kNodeSecondaryProfile) != 0 || node.topicIndex < 0) continue;
        if (static_cast<size_t>(node.topicIndex) >= model.topics.size()) continue;
        const int32_t p = model.topics[static_cast<size_t>(node.topicIndex)].pageIndex;
        if (p < 0 || static_cast<size_t>(p) >= model.pages.size()) continue;
        PageInfo_impl_& page = model.pages[static_cast<size_t>(p)];
        if (page.location) continue;
        page.domains = node.domains;
        const auto [known, added] = locationBelow.try_emplace(node.parentIndex, nullptr);
        if (added) known->second = model.pool.CopyStringOrNull(LocationText(nodes, node));
        page.location = known->second;
    }
}

}  // namespace kestrova
