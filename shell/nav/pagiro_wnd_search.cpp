// The navigator window's controller: full-text searches, keyword topics and the result list.
#include "shell/nav/pagiro_wnd_impl.h"

#include "exec/workers/model_env_registry.h"
#include "model/keyword.h"
#include "model/topic.h"
#include "shell/app/shell_context.h"
#include "shell/browser/browser_wnd.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/result_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"

#include <QEventLoop>
#include <QTimer>

namespace kestrova {
namespace {

// How long a wait goes on before its progress dialog shows.
constexpr int kQuietWaitMs = 300;

const QString kPreparingCaption = QStringLiteral("Подготовка справки");
const QString kSearchCaption = QStringLiteral("Поиск");

}  // namespace

void CPagiroWnd_impl_::OnSearchProgress(const ExecProgress& progress) {
    std::lock_guard lock(progressLock_);
    progress_ = progress;
}

void CPagiroWnd_impl_::OnSearchFailed(const std::string& reason) {
    std::lock_guard lock(pendingResultLock_);
    pendingFailure_ = reason;
}

void CPagiroWnd_impl_::OnSearchResult(CountedPtr<ITopicSet> result) {
    {
        std::lock_guard lock(pendingResultLock_);
        pendingResult_ = std::move(result);
    }
    PostNavMessage(&wnd_, NAVM_SEARCHDONE);
}

ExecProgress CPagiroWnd_impl_::Read() {
    std::lock_guard lock(progressLock_);
    return progress_;
}

void CPagiroWnd_impl_::Attach(CProgressDlg* dialog) { progressDlg_ = dialog; }

// A dialog that waits for a model gives up when the loader has stopped without one.
bool CPagiroWnd_impl_::IsAbandoned() {
    if (!waitingForModel_) return false;
    if (context_.registry.IsLoading(folder_.toStdU16String())) return false;
    std::lock_guard lock(pendingModelLock_);
    return !pendingModel_;
}

void CPagiroWnd_impl_::ResetProgress() {
    std::lock_guard lock(progressLock_);
    progress_ = ExecProgress{-1, -1, -1};
}

bool CPagiroWnd_impl_::RunProgressDialog(const QString& caption, const QString& text) {
    CProgressDlg dialog(&wnd_, caption, text, *this);
    Attach(&dialog);  // before any message can end it
    modal_ = true;
    // Most searches end within a few milliseconds: the dialog shows only when the wait goes
    // on, so that a quick result does not flash a window. Meanwhile the window takes no input,
    // as it would not under the dialog.
    bool ended = false;
    {
        QEventLoop quiet;
        QObject::connect(&dialog, &QDialog::finished, &quiet, [&] {
            ended = true;
            quiet.quit();
        });
        QTimer::singleShot(kQuietWaitMs, &quiet, &QEventLoop::quit);
        quiet.exec(QEventLoop::ExcludeUserInputEvents);
    }
    const int result = ended ? dialog.result() : dialog.exec();
    modal_ = false;
    progressDlg_ = nullptr;
    return result == QDialog::Accepted;
}

void CPagiroWnd_impl_::EndProgressDialog() {
    if (progressDlg_) progressDlg_->accept();
}

bool CPagiroWnd_impl_::EnsureModel() {
    if (model_) return true;
    if (CountedPtr<IModel> pending = TakePendingModel()) {
        ShowModel(std::move(pending), nullptr);
        return true;
    }
    if (context_.registry.IsLoading(folder_.toStdU16String())) {
        waitingForModel_ = true;
        RunProgressDialog(kPreparingCaption, QString());
        waitingForModel_ = false;
        if (!model_) {
            if (CountedPtr<IModel> pending = TakePendingModel())
                ShowModel(std::move(pending), nullptr);
        }
    }
    return model_ != nullptr;
}

void CPagiroWnd_impl_::ForgetCurrentSearch() {
    currentSearch_.reset();
    browser_->ClearHighlight();
}

void CPagiroWnd_impl_::Search() {
    const QString text = toolBar_->SearchBox()->Text();
    if (text.isEmpty()) {
        toolBar_->SearchBox()->setFocus();
        return;
    }
    if (!EnsureModel()) return;
    ForgetCurrentSearch();
    SearchQuery query{text, 0};
    if (settings_.titlesOnly) query.options |= kSearchTitles;
    if (settings_.relatedWords) query.options |= kSearchRelatedWords;
    if (settings_.queryLanguage) query.options |= kSearchQueryLanguage;
    currentSearch_ = query;
    {
        std::lock_guard lock(pendingResultLock_);
        pendingResult_.Reset();
        pendingFailure_.clear();
    }
    context_.registry.PostSearch(folder_.toStdU16String(), this, model_, text.toStdU16String(),
                                 query.options);
    if (!RunProgressDialog(kSearchCaption, text)) {
        context_.registry.DetachClient(folder_.toStdU16String(), this);
        ResetProgress();
    }
}

void CPagiroWnd_impl_::OnSearchDone() {
    EndProgressDialog();
    ResetProgress();
    CountedPtr<ITopicSet> result;
    std::string failure;
    {
        std::lock_guard lock(pendingResultLock_);
        result.swap(pendingResult_);
        failure.swap(pendingFailure_);
    }
    if (!currentSearch_) return;
    settings_.searchHistory.Add(currentSearch_->text);
    toolBar_->SearchBox()->RefillHistory(settings_.searchHistory);
    if (!result && !failure.empty()) {
        // A failed search says why instead of reporting an empty success.
        results_->FillFailure(currentSearch_->text, QString::fromStdString(failure));
        ShowBottomPane();
        return;
    }
    ShowResults(std::move(result), currentSearch_->text, ResultKind::kSearch);
}

void CPagiroWnd_impl_::OnKeywordTopics(const QString& keyword) {
    ForgetCurrentSearch();
    if (!model_) return;
    IKeywordList* keywords = model_->GetKeywordList();
    if (!keywords) return;
    const std::u16string text = keyword.toStdU16String();
    CountedPtr<ITopicSet> topics = keywords->GetKeywordTopics(text.c_str());
    settings_.indexHistory.Add(keyword);
    tabs_->Index()->RefillHistory(settings_.indexHistory);
    ShowResults(std::move(topics), keyword, ResultKind::kIndex);
}

bool CPagiroWnd_impl_::ShowResults(CountedPtr<ITopicSet> topics, const QString& query,
                                   ResultKind kind) {
    const int n = topics ? topics->GetCount() : 0;
    results_->Fill(query, kind, std::move(topics),
                   kind == ResultKind::kSearch ? currentSearch_ : std::nullopt);
    if (kind == ResultKind::kSearch) ShowBottomPane();
    if (n > 1) {
        if (kind == ResultKind::kIndex) ShowBottomPane();
        results_->setFocus();
    } else if (n == 1) {
        results_->SelectItem(0);
    }
    return n > 0;
}

}  // namespace kestrova
