#include "cli/cli_model.h"

#include "cli/command.h"

#include "exec/named_lock_set.h"
#include "model/domain.h"
#include "model/page_info.h"
#include "platform/codepage.h"
#include "platform/event.h"
#include "platform/path.h"

#include <unistd.h>
#include <algorithm>
#include <filesystem>
#include <iostream>

namespace kestrova::cli {

TerminalProgress::TerminalProgress(std::string query)
    : terminal_(::isatty(2) == 1), query_(std::move(query)) {}

TerminalProgress::~TerminalProgress() {
    if (!shown_.empty()) std::cerr << "\r\033[K" << std::flush;
}

namespace {

// The texts of the viewer's progress dialog.
std::string StageText(int32_t stage, const std::string& query) {
    switch (stage) {
        case kStageScan:
            return "Сканирование файлов...";
        case kStageLoad:
            return "Загрузка данных...";
        case kStageIndexing:
            return "Выполняется индексирование файлов...";
        case kStageSearch:
            return "Поиск \"" + query + "\"...";
        default:
            return "Подождите, пожалуйста...";
    }
}

}  // namespace

void TerminalProgress::ReportProgress(const ExecProgress& p) {
    if (!terminal_) return;
    std::string line = StageText(p.stage, query_);
    if (p.total > 0) {
        constexpr int kWidth = 30;
        const int64_t current = std::clamp<int64_t>(p.current, 0, p.total);
        const int filled = static_cast<int>(current * kWidth / p.total);
        line += " [" + std::string(static_cast<size_t>(filled), '#') +
                std::string(static_cast<size_t>(kWidth - filled), '.') + "] " +
                std::to_string(current * 100 / p.total) + "%";
    }
    if (line == shown_) return;
    std::cerr << "\r\033[K" << line << std::flush;
    shown_ = std::move(line);
}

std::string Utf8(const char16_t* text) {
    return text ? platform::Utf16ToUtf8(text) : std::string();
}

nlohmann::ordered_json JsonOrNull(const char16_t* text) {
    return text ? nlohmann::ordered_json(Utf8(text)) : nlohmann::ordered_json(nullptr);
}

nlohmann::ordered_json TopicJson(ITopic* topic) {
    IPageInfo* page = topic->GetPage();
    return {{"file", page ? nlohmann::ordered_json(Utf8(page->GetPath()))
                          : nlohmann::ordered_json(nullptr)},
            {"anchor", JsonOrNull(topic->GetAnchor())}};
}

bool RequireFolder(const std::string& command, const std::string& folder) {
    std::error_code ec;
    if (std::filesystem::is_directory(folder, ec)) return true;
    UsageError(command, folder + ": not a folder");
    return false;
}

void NoModelError(const std::string& command, const std::string& folder,
                  const std::string& reason) {
    std::cerr << "kestrova-cli " << command << ": " << folder << ": no model ("
              << (reason.empty() ? "no data folder" : reason) << ")\n";
}

LoadResult LoadForCli(const std::string& command, const std::string& folder, bool rebuild,
                      bool refreshOutdated) {
    const std::u16string path = platform::NormalizePath(platform::PathFromNative(folder));
    platform::ManualResetEvent stop;
    NamedLockSet locks(kLoadLockSet, path, kLockSetSize, stop);
    TerminalProgress progress;
    std::string error;
    try {
        LoadResult result = LoadModelReporting(path, progress, locks, rebuild, error);
        if (refreshOutdated && result.model && !result.rebuilt &&
            result.model->IsOutdated(progress)) {
            result = LoadModelReporting(path, progress, locks, true, error);
        }
        if (!result.model) NoModelError(command, folder, error);
        return result;
    } catch (const std::exception& e) {
        std::cerr << "kestrova-cli " << command << ": " << folder << ": " << e.what() << "\n";
        return {};
    }
}

CountedPtr<IModel> ViewOf(const std::string& command, CountedPtr<IModel> model,
                          const std::string& tag) {
    if (tag.empty()) return model;
    const std::u16string tag16 = platform::Utf8ToUtf16(tag);
    IDomainList* domains = model->GetDomainList();
    for (int32_t i = 0; i < domains->GetCount(); ++i) {
        if (std::u16string_view(domains->GetItem(i)->GetTag() ? domains->GetItem(i)->GetTag()
                                                              : u"") == tag16) {
            return GetModelFilter(model.get())->GetFiltered(tag16.c_str());
        }
    }
    std::cerr << "kestrova-cli " << command << ": no domain '" << tag << "'\n";
    return nullptr;
}

}  // namespace kestrova::cli
