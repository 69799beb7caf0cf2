// The navigator window's controller: the drop-down menus of the toolbar, the keys, and the
// commands of the main menu that act on the window itself (toolbar text, content pictures,
// knowledge-base information and export, history, version information).
#include "shell/nav/pagiro_wnd_impl.h"

#include "exec/workers/model_env_registry.h"
#include "model/model.h"
#include "platform/io_error.h"
#include "shell/app/shell_context.h"
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/dialogs/about_dlg.h"
#include "shell/dialogs/model_info_dlg.h"
#include "shell/menus/key_tables.h"
#include "shell/menus/nav_menus.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/pane_guard.h"
#include "shell/panes/tabs_pane.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QUrl>

#include <cstring>
#include <exception>

namespace kestrova {
namespace {

// The save dialog of the export. The filters' patterns are hidden, so each shows the text
// before its last parenthesis: "Файлы XML (*.xml)" and "Все файлы".
const QString kExportCaption = QStringLiteral("Сохранить как");
const QString kExportXmlFilter = QStringLiteral("Файлы XML (*.xml) (*.xml)");
const QString kExportAllFilter = QStringLiteral("Все файлы (*)");
const QString kExportSuffix = QStringLiteral("xml");
const QString kExportFailed = QStringLiteral("Не удалось выгрузить базу данных в файл \"%1\": %2");

}  // namespace

void CPagiroWnd_impl_::CreateShortcuts() {
    InstallKeyTable(wnd_, NavigatorKeys(), Qt::WindowShortcut,
                    [this](int id) { wnd_.ExecuteCommand(id); });
    // Copy and select all are the browser's own; the text sizes go to the command handler.
    InstallKeyTable(*browser_, BrowserKeys(), Qt::WidgetWithChildrenShortcut, [this](int id) {
        if (id == ID_EDIT_COPY) {
            browser_->Copy();
        } else if (id == ID_EDIT_SELECT_ALL) {
            browser_->SelectAll();
        } else {
            wnd_.ExecuteCommand(id);
        }
    });
    QObject::connect(toolBar_, &CNavToolBar::dropDown, &wnd_,
                     [this](int id) { RunGuarded("menu", [&] { OnDropDown(id); }); });
}

void CPagiroWnd_impl_::OnWindowCommand(int id) {
    switch (id) {
        case ID_MAIN_MENU:
            OnDropDown(ID_MAIN_MENU);
            break;
        case ID_TOOLBAR_TEXT:
            toolBar_->SetShowText(!toolBar_->ShowText());
            Layout();  // the toolbar's height follows its text
            break;
        case ID_CONTENT_ICONS:
            tabs_->Contents()->SetIcons(!tabs_->Contents()->IconsOn());
            break;
        case ID_DB_INFO:
            ShowModelInfo();
            break;
        case ID_DB_EXPORT_XML:
            ExportXml();
            break;
        case ID_CLEAR_HISTORY:
            ClearHistory();
            break;
        case ID_ABOUT:
            ShowAbout();
            break;
        default:
            break;
    }
}

MainMenuState CPagiroWnd_impl_::ReadMainMenuState() const {
    MainMenuState state;
    const QString url = browser_->CurrentURL();
    state.offline = browser_->IsOffline();
    state.highlightPending = browser_->IsHighlightFor(url);
    state.highlightShown = browser_->IsHighlightShown();
    state.leftPane = settings_.leftPaneVisible;
    state.resultPane = settings_.bottomPaneVisible;
    state.toolbarText = toolBar_->ShowText();
    state.contentIcons = tabs_->Contents()->IconsOn();
    state.modelShown = model_.get() != nullptr;
    state.loading = context_.registry.IsLoading(folder_.toStdU16String());
    const QUrl shown(url);
    state.localPage = shown.isLocalFile() && !shown.toLocalFile().isEmpty();
    return state;
}

void CPagiroWnd_impl_::OnDropDown(int command) {
    std::unique_ptr<QMenu> menu;
    switch (command) {
        case ID_SEARCH:
            menu = BuildSearchOptionsMenu(
                &wnd_, {settings_.titlesOnly, settings_.relatedWords, settings_.queryLanguage});
            break;
        case ID_FONT_SIZE:
            menu = BuildTextSizeMenu(&wnd_, browser_->TextSize());
            break;
        case ID_MAIN_MENU:
            menu = BuildMainMenu(&wnd_, ReadMainMenuState());
            break;
        default:
            return;
    }
    const int chosen = RunMenu(*menu, command);
    menu.reset();
    if (chosen != 0) OnCommand(chosen);
}

int CPagiroWnd_impl_::RunMenu(QMenu& menu, int button) {
    // Below the button, right edges aligned; below the toolbar's right end when the button
    // is not shown (the toolbar too narrow for it).
    QRect anchor = toolBar_->ButtonRect(button);
    if (anchor.isEmpty()) anchor = QRect(toolBar_->width(), 0, 0, toolBar_->height());
    anchor.moveTopLeft(toolBar_->mapToGlobal(anchor.topLeft()));
    return RunDropDown(menu, anchor);
}

void CPagiroWnd_impl_::ShowModelInfo() {
    if (!model_) return;
    CountedPtr<IModel> model = model_;  // the paths of the record point into the model
    ModelInfo info;
    model->GetModelInfo(info);
    CModelInfoDlg dialog(&wnd_, info);
    DoModal(&dialog);
}

void CPagiroWnd_impl_::ShowAbout() {
    CAboutDlg dialog(&wnd_);
    DoModal(&dialog);
}

void CPagiroWnd_impl_::ExportXml() {
    if (!model_) return;
    CountedPtr<IModel> model = model_;  // a new model may arrive while the dialog is open
    QFileDialog dialog(&wnd_, kExportCaption);
    dialog.setObjectName(QStringLiteral("exportXmlDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(kExportSuffix);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setNameFilters({kExportXmlFilter, kExportAllFilter});
    if (DoModal(&dialog) != QDialog::Accepted) return;
    const QStringList files = dialog.selectedFiles();
    if (files.isEmpty()) return;
    const QString path = QDir::cleanPath(QFileInfo(files.front()).absoluteFilePath());
    // The handler would drop a failure silently; the user asked for a file and is told that
    // there is none, and why, in the system's words where it gave a reason.
    QString reason;
    try {
        model->ExportXml(path.toStdU16String().c_str());
        return;
    } catch (const platform::io_error& e) {
        reason = QString::fromLocal8Bit(e.code() != 0 ? std::strerror(e.code()) : e.what());
    } catch (const std::exception& e) {
        reason = QString::fromUtf8(e.what());
    }
    MessageBox(kExportFailed.arg(QDir::toNativeSeparators(path), reason), QMessageBox::Critical,
               QMessageBox::Ok);
}

void CPagiroWnd_impl_::ClearHistory() {
    settings_.searchHistory.Clear();
    settings_.indexHistory.Clear();
    toolBar_->SearchBox()->RefillHistory(settings_.searchHistory);
    tabs_->Index()->RefillHistory(settings_.indexHistory);
}

}  // namespace kestrova
