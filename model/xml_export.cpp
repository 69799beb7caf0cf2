// The XML export of a model: the whole model with its indices resolved into readable
// references.
#include "model/content_original_impl.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"
#include "model/xml_document.h"
#include "platform/atomic_file.h"
#include "platform/codepage.h"
#include "platform/io_error.h"
#include "platform/path.h"
#include "platform/uuid.h"

#include <pugixml.hpp>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <stdexcept>
#include <utility>
#include <vector>

namespace kestrova {
namespace {

constexpr uint64_t kUnixEpochAsFileTime = 116444736000000000ull;

// A null text makes no attribute.
void SetAttr(pugi::xml_node node, const char* name, const char16_t* value) {
    if (value) SetXmlAttribute(node, name, StringView(value));
}

std::string LocalTime(uint64_t fileTime) {
    const long long seconds = static_cast<long long>(fileTime / 10000000ull) -
                              static_cast<long long>(kUnixEpochAsFileTime / 10000000ull);
    const std::time_t t = static_cast<std::time_t>(seconds);
    std::tm local{};
    char text[64] = "";
    if (localtime_r(&t, &local)) std::strftime(text, sizeof text, "%d.%m.%Y %H:%M:%S", &local);
    return text;
}

void SetFileAttrs(pugi::xml_node node, const FileInfo& file) {
    SetAttr(node, "path", file.path);
    node.append_attribute("modif_time").set_value(LocalTime(file.lastWriteTime).c_str());
    node.append_attribute("size").set_value(std::to_string(file.size).c_str());
}

class Exporter {
public:
    explicit Exporter(Model_original_impl_& model) : m_(model) {}

    void Build(pugi::xml_node root) {
        pugi::xml_node model = root.append_child("model");
        model.append_attribute("uid").set_value(UidText().c_str());
        SetAttr(model, "html", m_.HtmlFolder().c_str());
        SetAttr(model, "database", m_.DataFolder().c_str());
        Domains(model.append_child("domains"));
        Pages(model.append_child("pages"));
        pugi::xml_node skipped = model.append_child("skipped");
        for (const FileInfo& f : m_.skippedFiles) SetFileAttrs(skipped.append_child("file"), f);
        pugi::xml_node topics = model.append_child("topics");
        for (size_t i = 0; i < m_.topics.size(); ++i) TopicRef(topics, static_cast<int32_t>(i));
        Keywords(model.append_child("index"));
        pugi::xml_node context = model.append_child("context");
        for (const ContextIdEntry& c : m_.contextIds) {
            pugi::xml_node item = context.append_child("item");
            SetAttr(item, "help_id", c.id);
            TopicRef(item, c.topicIndex);
        }
        Content(model.append_child("content"));
    }

private:
    std::string UidText() const {
        platform::Uuid uuid;
        std::memcpy(uuid.bytes.data(), m_.uid.data(), uuid.bytes.size());
        return platform::UuidToAsciiString(uuid);
    }

    void TopicRef(pugi::xml_node parent, int32_t index) {
        ITopic* topic = static_cast<IDumpHelper_impl_&>(m_).GetTopic(index);
        if (!topic) return;
        pugi::xml_node node = parent.append_child("topic");
        if (IPageInfo* page = topic->GetPage()) SetAttr(node, "file", page->GetPath());
        SetAttr(node, "anchor", topic->GetAnchor());
    }

    void DomainRefs(pugi::xml_node parent, const IndexList& list) {
        for (int32_t i = 0; i < list.Count(); ++i) {
            IDomain* domain = m_.GetDomain(list.Item(i));
            if (!domain) continue;
            const char16_t* tag = domain->GetTag();
            parent.append_child("domain").append_attribute("tag").set_value(
                platform::Utf16ToUtf8(StringView(tag)).c_str());
        }
    }

    void Domains(pugi::xml_node domains) {
        for (const Domain_impl_& d : m_.domains) {
            pugi::xml_node node = domains.append_child("domain");
            SetAttr(node, "tag", d.tag);
            SetAttr(node, "name", d.displayName);
        }
    }

    void Pages(pugi::xml_node pages) {
        for (const PageInfo_impl_& p : m_.pages) {
            pugi::xml_node node = pages.append_child("page");
            SetFileAttrs(node, p.file);
            SetAttr(node, "title", p.title);
            SetAttr(node, "location", p.location);
            DomainRefs(node, p.domains);
        }
    }

    void Keywords(pugi::xml_node index) {
        if (!m_.keywords) return;
        for (const Keyword_impl_& k : m_.keywords->items) {
            pugi::xml_node node = index.append_child("keyword");
            SetAttr(node, "name", k.text);
            for (int32_t i = 0; i < k.topics.Count(); ++i) TopicRef(node, k.topics.Item(i));
            DomainRefs(node, k.domains);
        }
    }

    void NodeBody(pugi::xml_node element, const ContentNode_original_impl_& node) {
        SetAttr(element, "text", node.text);
        static constexpr std::pair<uint32_t, const char*> kOptions[] = {
            {kNodeHiddenInLocation, "hidden in location"},
            {kNodeHeading, "heading"},
            {kNodeSecondaryProfile, "secondary profile"}};
        for (const auto& [flag, text] : kOptions) {
            if (node.flags & flag) element.append_child("option").text().set(text);
        }
        if (node.topicIndex != kNoIndex) TopicRef(element, node.topicIndex);
        DomainRefs(element, node.domains);
    }

    // Depth-first without recursion: each node's child elements are made, in order, when the
    // node itself is filled, and filled when they come off the stack.
    void Content(pugi::xml_node content) {
        if (!m_.content) return;
        const auto& nodes = m_.content->nodes;
        std::vector<std::pair<int32_t, pugi::xml_node>> stack;
        auto addChildren = [&](pugi::xml_node parent, const IndexList& list) {
            const size_t first = stack.size();
            for (int32_t i = 0; i < list.Count(); ++i) {
                const int32_t index = list.Item(i);
                if (index < 0 || static_cast<size_t>(index) >= nodes.size()) continue;
                stack.emplace_back(index, parent.append_child("node"));
            }
            std::reverse(stack.begin() + static_cast<std::ptrdiff_t>(first), stack.end());
        };
        addChildren(content, m_.content->roots);
        while (!stack.empty()) {
            const auto [index, element] = stack.back();
            stack.pop_back();
            const ContentNode_original_impl_& node = nodes[static_cast<size_t>(index)];
            NodeBody(element, node);
            addChildren(element, node.children);
        }
    }

    Model_original_impl_& m_;
};

}  // namespace

void Model_original_impl_::ExportXml(const char16_t* path) {
    pugi::xml_document document;
    Exporter(*this).Build(document);
    // A temporary file renamed over the old export: a full disk leaves the old one whole.
    try {
        platform::ReplaceFileWith(
            platform::NativePath(StringView(path)), [&](const platform::PieceWriter& write) {
                WriteXmlDocument(document, [&](std::string_view bytes) { write(bytes); });
            });
    } catch (const platform::io_error& e) {
        throw platform::io_error("file savinig failure", e.code());
    }
}

}  // namespace kestrova
