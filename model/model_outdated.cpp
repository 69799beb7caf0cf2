// The outdated test of a model made from the pages or the cache: compares the files the model
// was made from with the HTML files in the page folder now (paths, sizes, times; no page is
// read).
#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "model/data_folder.h"
#include "model/internal/html_scan.h"
#include "model/model_original_impl.h"
#include "platform/text.h"
#include "platform/url.h"

#include <algorithm>

namespace kestrova {
namespace {

struct Keyed {
    uint32_t hash;
    std::u16string_view path;
    const FileInfo* file;
};

std::vector<Keyed> SortedByPath(const std::vector<FileInfo>& files) {
    std::vector<Keyed> keyed;
    keyed.reserve(files.size());
    for (const FileInfo& f : files) {
        const std::u16string_view path = StringView(f.path);
        keyed.push_back(Keyed{platform::HashText(path), path, &f});
    }
    std::sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        if (a.hash != b.hash) return a.hash < b.hash;
        return a.path < b.path;
    });
    return keyed;
}

}  // namespace

bool Model_original_impl_::IsOutdated(IExecControl& control) {
    std::vector<FileInfo> known;
    known.reserve(pages.size() + skippedFiles.size());
    for (const PageInfo_impl_& p : pages) known.push_back(p.file);
    known.insert(known.end(), skippedFiles.begin(), skippedFiles.end());

    DevModeOptions options;
    ReadDevModeOptions(options);
    ModelPool scratch;
    std::vector<FileInfo> present;
    collectHtmlFiles(HtmlFolder(), options.IncludeLUL, scratch, present, control);
    if (present.size() != known.size()) return true;

    const std::vector<Keyed> a = SortedByPath(known);
    const std::vector<Keyed> b = SortedByPath(present);
    const int32_t total = static_cast<int32_t>(a.size());
    for (int32_t i = 0; i < total; ++i) {
        const Keyed& x = a[static_cast<size_t>(i)];
        const Keyed& y = b[static_cast<size_t>(i)];
        CheckBreak(control);
        control.ReportProgress(ExecProgress{kStageScan, i + 1, total});
        if (x.path != y.path || x.file->size != y.file->size ||
            x.file->lastWriteTime != y.file->lastWriteTime) {
            return true;
        }
    }
    return false;
}

}  // namespace kestrova
