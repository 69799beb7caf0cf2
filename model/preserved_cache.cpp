#include "model/internal/preserved_cache.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "model/content_original_impl.h"
#include "model/internal/build_clock.h"
#include "model/internal/cache_stream.h"
#include "model/internal/load_failure.h"
#include "model/keyword_list_impl.h"
#include "model/model_original_impl.h"
#include "model/page/file_log.h"
#include "platform/io_error.h"
#include "platform/path.h"

#include <chrono>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace kestrova {
namespace {

using Clock = BuildClock;

// Smallest stored size of one record of each section, for the count checks.
constexpr size_t kMinDomain = 8;
constexpr size_t kMinPage = 16 + 4 + 4 + 4;
constexpr size_t kMinFile = 16;
constexpr size_t kMinTopic = 8;
constexpr size_t kMinKeyword = 12;
constexpr size_t kMinContextId = 8;
constexpr size_t kMinNode = 24;

void WriteHeader(Model_original_impl_& m, CacheOutput& out) {
    out.U32(kCacheMagic);
    out.U32(kCacheVersion);
    out.U32(0);
    out.Bytes(m.uid.data(), m.uid.size());
}

void WriteDomainsToTopics(Model_original_impl_& m, CacheOutput& out) {
    out.U32(static_cast<uint32_t>(m.domains.size()));
    for (const Domain_impl_& d : m.domains) {
        out.String(d.tag);
        out.String(d.displayName);
    }
    out.U32(static_cast<uint32_t>(m.pages.size()));
    for (const PageInfo_impl_& p : m.pages) {
        out.File(p.file);
        out.String(p.title);
        out.String(p.location);
        out.Indices(p.domains);
    }
    out.U32(static_cast<uint32_t>(m.skippedFiles.size()));
    for (const FileInfo& f : m.skippedFiles) out.File(f);
    out.U32(static_cast<uint32_t>(m.topics.size()));
    for (const Topic_impl_& t : m.topics) {
        out.I32(t.pageIndex);
        out.String(t.anchor);
    }
}

void WriteKeywords(Model_original_impl_& m, CacheOutput& out) {
    const size_t n = m.keywords ? m.keywords->items.size() : 0;
    out.U32(static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        const Keyword_impl_& k = m.keywords->items[i];
        out.String(k.text);
        out.Indices(k.topics);
        out.Indices(k.domains);
    }
}

void WriteContextIds(Model_original_impl_& m, CacheOutput& out) {
    out.U32(static_cast<uint32_t>(m.contextIds.size()));
    for (const ContextIdEntry& c : m.contextIds) {
        out.String(c.id);
        out.I32(c.topicIndex);
    }
}

void WriteContent(Model_original_impl_& m, CacheOutput& out) {
    const size_t n = m.content ? m.content->nodes.size() : 0;
    out.U32(static_cast<uint32_t>(n));
    for (size_t i = 0; i < n; ++i) {
        const ContentNode_original_impl_& node = m.content->nodes[i];
        out.String(node.text);
        out.U32(node.flags);
        out.I32(node.topicIndex);
        out.I32(node.parentIndex);
        out.Indices(node.children);
        out.Indices(node.domains);
    }
    out.Indices(m.content ? m.content->roots : IndexList{});
}

// Each step is flushed before the check that follows it, so that what was written is on
// disk when the work stops there.
void WriteSections(Model_original_impl_& m, CacheOutput& out, IExecControl& control) {
    WriteHeader(m, out);
    out.Flush();
    CheckBreak(control);
    for (auto* step : {WriteDomainsToTopics, WriteKeywords, WriteContextIds, WriteContent}) {
        step(m, out);
        out.Flush();
        CheckBreak(control);
    }
}

// The bytes of a whole file, in a buffer the reads fill without zeroing it first.
struct FileBytes {
    std::unique_ptr<char[]> data;
    size_t size = 0;
    std::string_view View() const { return {data.get(), size}; }
};

FileBytes ReadWhole(platform::File& file) {
    const long long size = file.Size();
    if (size < 0) throw platform::io_error("read error", file.LastError());
    FileBytes bytes{std::make_unique_for_overwrite<char[]>(static_cast<size_t>(size)), 0};
    while (bytes.size < static_cast<size_t>(size)) {
        const long long r =
            file.Read(bytes.data.get() + bytes.size, static_cast<size_t>(size) - bytes.size);
        if (r < 0) throw platform::io_error("read error", file.LastError());
        if (r == 0) break;
        bytes.size += static_cast<size_t>(r);
    }
    return bytes;
}

void ReadDomainsAndPages(Model_original_impl_& m, CacheInput& in, IExecControl& control) {
    m.domains.resize(in.Count(kMinDomain, "domains"));
    for (Domain_impl_& d : m.domains) {
        d.tag = in.String();
        d.displayName = in.String();
    }
    CheckBreak(control);
    m.pages.resize(in.Count(kMinPage, "pages"));
    for (PageInfo_impl_& p : m.pages) {
        p.file = in.File();
        p.title = in.String();
        p.location = in.String();
        p.domains = in.Indices(m.domains.size(), "page domains");
    }
    CheckBreak(control);
    m.skippedFiles.resize(in.Count(kMinFile, "skipped files"));
    for (FileInfo& f : m.skippedFiles) f = in.File();
    CheckBreak(control);
}

void ReadTopicsAndKeywords(Model_original_impl_& m, CacheInput& in, IExecControl& control) {
    m.topics.resize(in.Count(kMinTopic, "topics"));
    for (Topic_impl_& t : m.topics) {
        t.pages = &m;
        t.pageIndex = in.Index(m.pages.size(), "topics");
        t.anchor = in.String();
    }
    CheckBreak(control);
    m.keywords = std::make_unique<KeywordList_impl_>(&m);
    m.keywords->items.resize(in.Count(kMinKeyword, "keywords"));
    for (Keyword_impl_& k : m.keywords->items) {
        k.text = in.String();
        k.topics = in.Indices(m.topics.size(), "keyword topics");
        k.domains = in.Indices(m.domains.size(), "keyword domains");
    }
    CheckBreak(control);
    m.contextIds.resize(in.Count(kMinContextId, "context ids"));
    for (ContextIdEntry& c : m.contextIds) {
        c.id = in.String();
        c.topicIndex = in.Index(m.topics.size(), "context ids");
    }
    CheckBreak(control);
}

// The nodes must form a forest: every node is a root or the child of exactly one node, and
// that node is its parent; every node can be reached from the roots. Anything else (a cycle,
// a node listed twice, a parent that does not list its child) would send the walks of the
// contents into endless loops.
void CheckTree(const Content_original_impl_& content) {
    const auto& nodes = content.nodes;
    std::vector<char> seen(nodes.size(), 0);
    std::vector<int32_t> pending;
    auto visit = [&](int32_t index, int32_t parent) {
        if (index < 0 || seen[static_cast<size_t>(index)] ||
            nodes[static_cast<size_t>(index)].parentIndex != parent) {
            ThrowDamaged("node placed twice or under a wrong parent", "contents");
        }
        seen[static_cast<size_t>(index)] = 1;
        pending.push_back(index);
    };
    for (int32_t i = 0; i < content.roots.Count(); ++i) visit(content.roots.Item(i), kNoIndex);
    size_t reached = 0;
    while (!pending.empty()) {
        const int32_t index = pending.back();
        pending.pop_back();
        ++reached;
        const IndexList& children = nodes[static_cast<size_t>(index)].children;
        for (int32_t i = 0; i < children.Count(); ++i) visit(children.Item(i), index);
    }
    if (reached != nodes.size()) ThrowDamaged("node not reached from the roots", "contents");
}

void ReadContent(Model_original_impl_& m, CacheInput& in) {
    m.content = std::make_unique<Content_original_impl_>(&m);
    auto& nodes = m.content->nodes;
    nodes.resize(in.Count(kMinNode, "contents"));
    for (ContentNode_original_impl_& node : nodes) {
        node.host = m.content.get();
        node.text = in.String();
        node.flags = in.U32();
        node.topicIndex = in.Index(m.topics.size(), "contents");
        node.parentIndex = in.Index(nodes.size(), "contents");
        node.children = in.Indices(nodes.size(), "contents");
        node.domains = in.Indices(m.domains.size(), "node domains");
    }
    m.content->roots = in.Indices(nodes.size(), "contents");
    CheckTree(*m.content);
}

// Reads everything after the version; throws io_error when the file is short or damaged.
void ReadBody(Model_original_impl_& m, CacheInput& in, IExecControl& control) {
    CheckBreak(control);
    in.U32();  // reserved
    in.Bytes(m.uid.data(), m.uid.size());
    ReadDomainsAndPages(m, in, control);
    ReadTopicsAndKeywords(m, in, control);
    ReadContent(m, in);
}

}  // namespace

void SaveCache(Model_original_impl_& model, IExecControl& control, ILog& log,
               const OpenRetry& retry) {
    const Clock::time_point start = Clock::now();
    platform::File file;
    const std::string path = platform::NativePath(model.CachePath());
    // A failed write is logged as what it is, never followed by the completion line.
    if (OpenWithRetry(file, path, platform::File::Access::kWriteExclusive, retry) !=
        platform::File::OpenResult::kOk) {
        log.WriteText("can't open preserved file for writing");
        model.cacheSaveFailure = path + ": " + std::strerror(file.LastError());
        return;
    }
    try {
        CacheOutput out(file);
        WriteSections(model, out, control);
    } catch (const platform::io_error& e) {
        log.WriteFormat("preserved saving: %s (sys_error = %d)", e.what(), e.code());
        model.cacheSaveFailure = path + ": " + e.what();
        if (e.code() != 0)
            model.cacheSaveFailure += std::string(" (") + std::strerror(e.code()) + ")";
        return;
    }
    file.Close();
    log.WriteFormat("saving preserved complete   t = %d", ElapsedMs(start));
}

namespace {

// LoadCache with its log open.
bool ReadCache(Model_original_impl_& model, IExecControl& control, const OpenRetry& retry,
               ILog& log) {
    const Clock::time_point start = Clock::now();
    platform::File file;
    if (OpenWithRetry(file, platform::NativePath(model.CachePath()),
                      platform::File::Access::kReadShared,
                      retry) != platform::File::OpenResult::kOk) {
        log.WriteText("preserved file not found");
        return false;
    }
    try {
        const FileBytes data = ReadWhole(file);
        file.Close();
        CacheInput in(data.View(), model.pool);
        if (in.U32() != kCacheMagic) {
            log.WriteText("preserved file header mismatch");
            return false;
        }
        if (in.U32() != kCacheVersion) {
            log.WriteText("preserved file version mismatch");
            return false;
        }
        ReadBody(model, in, control);
    } catch (const platform::io_error& e) {
        log.WriteFormat("preserved loading: %s (sys_error = %d)", e.what(), e.code());
        return false;
    }
    log.WriteFormat("loading preserved complete   t = %d", ElapsedMs(start));
    return true;
}

}  // namespace

bool LoadCache(Model_original_impl_& model, IExecControl& control, const OpenRetry& retry) {
    FileLog log(platform::NativePath(model.LogPath()));
    return LoggingLoadFailure(log, [&] { return ReadCache(model, control, retry, log); });
}

}  // namespace kestrova
