// Reading the navigation records of all pages of a build. The pages are independent, so large
// folders are read on the loader thread and helper threads at once; what each page gives is
// kept in its slot and collected in file order afterwards, so that the result, the skipped
// list and the log are those of one thread reading the files in order.
#include "model/internal/model_build.h"
#include "model/model_loader.h"

#include "exec/exceptions.h"
#include "exec/exec_control.h"
#include "exec/parallel_for.h"
#include "model/internal/page_folder_cursor.h"
#include "model/model_original_impl.h"
#include "model/page/read_page_meta.h"
#include "platform/path.h"

#include <algorithm>
#include <deque>
#include <memory>
#include <optional>

namespace kestrova {
namespace {

constexpr size_t kChunk = 16;        // pages a thread takes at a time
constexpr size_t kWorthwhile = 256;  // fewer pages are read by the loader thread alone
constexpr int kMostHelpers = 3;

// The lines a worker's pages write, tagged with the page, to be written in page order later.
class CapturedLog final : public ILog {
public:
    struct Line {
        size_t page;
        std::string bytes;    // from WriteText
        std::u16string text;  // from Write
        bool isText;
    };

    void Write(std::u16string_view text) override {
        lines.push_back({page, {}, std::u16string(text), true});
    }
    void WriteText(std::string_view bytes) override {
        lines.push_back({page, std::string(bytes), {}, false});
    }

    size_t page = 0;
    std::vector<Line> lines;
};

// What one thread keeps while it reads: where its pages are opened from and its log lines.
struct Worker {
    explicit Worker(std::u16string_view folder) : cursor(folder) {}
    PageFolderCursor cursor;
    CapturedLog log;
};

void SetStamp(FileInfo& file, const platform::FileStamp& stamp) {
    file.lastWriteTime = stamp.lastWriteTime;
    file.size =
        static_cast<uint32_t>(stamp.size & 0xFFFFFFFFu);  // the low 32 bits, as the scan keeps them
}

// Writes the workers' lines to `log` in page order (the lines of one page keep their order).
void WriteInPageOrder(std::deque<Worker>& workers, ILog& log) {
    std::vector<const CapturedLog::Line*> lines;
    for (const Worker& w : workers) {
        for (const CapturedLog::Line& line : w.log.lines) lines.push_back(&line);
    }
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto* a, const auto* b) { return a->page < b->page; });
    for (const CapturedLog::Line* line : lines) {
        if (line->isText)
            log.Write(line->text);
        else
            log.WriteText(line->bytes);
    }
}

}  // namespace

std::vector<PageRecord> ReadPages(Model_original_impl_& model, const std::vector<FileInfo>& files,
                                  ILog& log, IExecControl& control) {
    const size_t total = files.size();
    const int helpers = HelperCount(total, kWorthwhile, kMostHelpers);
    std::deque<Worker> workers;
    for (int i = 0; i <= helpers; ++i) workers.emplace_back(model.HtmlFolder());
    std::vector<PageRecord> slots(total);
    std::unique_ptr<bool[]> kept(new bool[total]());

    const auto read = [&](size_t i, int worker) {
        Worker& w = workers[static_cast<size_t>(worker)];
        const FileInfo& file = files[i];
        const auto fullPath = [&] {
            return platform::JoinPath(model.HtmlFolder(), StringView(file.path));
        };
        slots[i].file = file;
        w.log.page = i;
        w.cursor.MoveTo(StringView(file.path));
        // The time and size of the file come from the file as it was opened (the scan may have
        // left them to this), or else from its entry.
        std::optional<platform::FileStamp> stamp;
        kept[i] = ReadPageMetaAt(w.cursor.Folder(), w.cursor.Path(), fullPath, w.log, slots[i].meta,
                                 &stamp) &&
                  !slots[i].meta.ignored;
        if (platform::FileStamp entry;
            !stamp && platform::StampAt(w.cursor.Folder(), w.cursor.Path(), entry)) {
            stamp = entry;
        }
        if (stamp) SetStamp(slots[i].file, *stamp);
        if (!kept[i]) slots[i].meta = PageMeta{};
    };
    const auto afterEach = [&](size_t done) {
        CheckBreak(control);
        control.ReportProgress(
            ExecProgress{kStageLoad, static_cast<int32_t>(done - 1), static_cast<int32_t>(total)});
    };
    try {
        ParallelFor(total, kChunk, helpers, read, afterEach);
    } catch (...) {
        WriteInPageOrder(workers, log);  // a cancelled build still logs the pages it read
        throw;
    }
    WriteInPageOrder(workers, log);

    size_t keptCount = 0;
    for (size_t i = 0; i < total; ++i) {
        if (!kept[i])
            model.skippedFiles.push_back(slots[i].file);
        else if (keptCount++ != i)
            slots[keptCount - 1] = std::move(slots[i]);
    }
    slots.resize(keptCount);
    if (!model.skippedFiles.empty()) {
        log.WriteFormat("%d pages skipped", static_cast<int>(model.skippedFiles.size()));
    }
    return slots;
}

}  // namespace kestrova
