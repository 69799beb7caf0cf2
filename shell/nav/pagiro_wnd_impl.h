// The controller of a navigator window: it owns the window's state and does its work. It
// makes and lays out the children, follows the model environment of its page folder (models
// arrive from the loader thread, search results from the search thread), shows the model,
// optionally restricted to one category, runs searches with a progress dialog, carries out
// the commands, keeps the view settings and reloads the page when its file changes.
//
// Everything runs on the user-interface thread except OnModel, OnSearchProgress and
// OnSearchResult, which only store what they get under their own lock and post a message.
#pragma once

#include "exec/exec_control.h"
#include "exec/workers/search_client.h"
#include "model/counted.h"
#include "model/model.h"
#include "model/topic.h"
#include "shell/app/view_settings.h"
#include "shell/dialogs/progress_dlg.h"
#include "shell/menus/nav_menus.h"
#include "shell/shell_types.h"

#include <QDateTime>
#include <QMessageBox>
#include <QPointer>
#include <QString>
#include <QTimer>

#include <mutex>
#include <optional>

class QWidget;
class QAction;
class QMenu;

namespace kestrova {

class CBrowserWnd;
class CDomainComboBox;
class CFavoritesPane;
class CNavToolBar;
class CPagiroWnd;
class CProgressDlg;
class CResultPane;
class CSplitterCtrl;
class CTabsPane;
class ITopicSet;
class NavMessage;
class IPagiroFrame;
struct NavWindowParams;
struct ShellContext;

class CPagiroWnd_impl_ : public IModelSubsriber_impl_,
                         public ISearchClient_impl_,
                         public IProgressDlgData_impl_ {
public:
    // Mode flags of a window made from parameters (all four) or as a copy (none).
    enum ModeFlag : uint32_t {
        kLoadSettings = 1,
        kNavigateStart = 2,
        kRequestModel = 4,
        kApplyStartDomain = 8,
    };

    // Registers as a user of the model environments.
    CPagiroWnd_impl_(CPagiroWnd& wnd, ShellContext& context);
    // Leaves the registry of model environments last.
    ~CPagiroWnd_impl_();
    CPagiroWnd_impl_(const CPagiroWnd_impl_&) = delete;
    CPagiroWnd_impl_& operator=(const CPagiroWnd_impl_&) = delete;

    // Takes the folder, start page, domain and profile of the parameters. False when the
    // folder is given and is not an existing directory (`error` says so).
    bool InitFromParams(const NavWindowParams& params, QString* error);
    // Takes the state of another window (a new frame opened as its copy).
    void InitAsCopy(CPagiroWnd_impl_& source, IPagiroFrame* frame);
    // Makes the children and starts following the model. False when a child fails.
    bool Create();
    // Saves the settings and leaves the model environment (the window is going).
    void Destroy();

    // Places the children in the window's rectangle.
    void Layout();
    // A private message; true when handled.
    bool HandleMessage(NavMessage& message);
    // A command (menu, key, toolbar, command link).
    void OnCommand(int id);
    void FocusMain();

    // IModelSubsriber_impl_, ISearchClient_impl_ (worker threads).
    void OnModel(CountedPtr<IModel> model) override;
    void OnSearchProgress(const ExecProgress& progress) override;
    void OnSearchResult(CountedPtr<ITopicSet> result) override;
    void OnSearchFailed(const std::string& reason) override;
    // IProgressDlgData_impl_ (user-interface thread).
    void Attach(CProgressDlg* dialog) override;
    ExecProgress Read() override;
    bool IsAbandoned() override;

    // State for the frame, the copies and the tests.
    const QString& Folder() const { return folder_; }
    const QString& StartUrl() const { return startUrl_; }
    IModel* ShownModel() const { return model_.get(); }
    const ViewSettings& Settings() const { return settings_; }
    const std::optional<SearchQuery>& CurrentSearch() const { return currentSearch_; }
    PaneState SavePaneState() const;
    bool IsLeftPaneVisible() const { return settings_.leftPaneVisible; }
    bool IsBottomPaneVisible() const { return settings_.bottomPaneVisible; }
    int LeftPaneWidth() const { return leftWidth_; }
    int BottomPaneHeight() const { return bottomHeight_; }
    CBrowserWnd* Browser() const { return browser_; }
    CTabsPane* Tabs() const { return tabs_; }
    CResultPane* Results() const { return results_; }
    CNavToolBar* ToolBar() const { return toolBar_; }
    CFavoritesPane* Favorites() const { return favorites_; }

    // The state the main menu shows, read from the window now.
    MainMenuState ReadMainMenuState() const;

private:
    // Creation and layout (pagiro_wnd_impl.cpp).
    bool CreateChildren();
    void ConnectChildren();
    void ClampPaneSizes();
    void ApplySettingsToChildren();
    void ReadBackChildSettings();
    void CreateShortcuts();  // the keys and the drop-down menus: pagiro_wnd_commands.cpp
    int ScaleX(int pixels96) const;
    int ScaleY(int pixels96) const;
    void OnSplitterMoved(bool left, const QRect& bar);
    void OnSplitterToggle(bool left);
    void ShowLeftPane();
    void ShowBottomPane();
    void ShowTab(int tab);

    // The model (pagiro_wnd_model.cpp).
    void OnModelReady();
    void OnCopyState();
    void ShowModel(CountedPtr<IModel> model, const PaneState* state);
    void ReplaceModel(CountedPtr<IModel> model, const PaneState* state);
    void OnCategoryChanged();
    CountedPtr<IModel> TakePendingModel();

    // Searches and results (pagiro_wnd_search.cpp).
    void Search();
    bool EnsureModel();
    void OnSearchDone();
    void OnKeywordTopics(const QString& keyword);
    bool ShowResults(CountedPtr<ITopicSet> topics, const QString& query, ResultKind kind);
    bool RunProgressDialog(const QString& caption, const QString& text);
    void EndProgressDialog();
    void ResetProgress();
    void ForgetCurrentSearch();

    // The browser (pagiro_wnd_browser.cpp).
    bool Navigate(const NavigateRequest& request);
    void OpenFile(const QString& relative);
    void OnCommandState(int command, bool enable);
    void OnDocumentComplete(const QString& url);
    void OnWatchTick();
    void FindInContents();
    void EditPage();
    int MessageBox(const QString& text, QMessageBox::Icon icon,
                   QMessageBox::StandardButtons buttons, const QString& caption = QString());
    int DoModal(QDialog* dialog);

    // The favorites (pagiro_wnd_favorites.cpp).
    void OpenFavorites();
    void CloseFavorites();
    void AddToFavorites(int flag);
    void FavoritesCommand(int id);

    // The commands on the page shown (pagiro_wnd_page.cpp).
    void OnPageCommand(int id);
    void ToggleHighlight();
    // The URL of the page a command acts on: the top document's, or when the document has
    // frames the one the user chooses; nothing when the user cancels.
    std::optional<QString> ChooseDocumentUrl();

    // Menus, keys and the window's own commands (pagiro_wnd_commands.cpp).
    void OnWindowCommand(int id);
    void OnDropDown(int command);
    int RunMenu(QMenu& menu, int button);
    void ShowModelInfo();
    void ShowAbout();
    void ExportXml();
    void ClearHistory();

    CPagiroWnd& wnd_;
    ShellContext& context_;

    // Set at creation, constant afterwards.
    QString folder_;
    QString startUrl_;
    QString startDomain_;
    QString profile_;
    uint32_t mode_ = 0;
    IPagiroFrame* frame_ = nullptr;
    bool contentDetails_ = false;

    bool created_ = false;
    bool modal_ = false;
    CountedPtr<IModel> model_;
    std::optional<SearchQuery> currentSearch_;
    ViewSettings settings_;
    int leftWidth_ = 0;
    int bottomHeight_ = 0;
    int splitterThickness_ = 5;

    // Handed over by the worker threads, each under its own lock.
    std::mutex pendingModelLock_;
    CountedPtr<IModel> pendingModel_;
    std::mutex pendingResultLock_;
    CountedPtr<ITopicSet> pendingResult_;
    std::string pendingFailure_;  // why the pending (null) result failed; empty when it did not
    std::mutex progressLock_;
    ExecProgress progress_{-1, -1, -1};

    // The page file watch.
    QTimer watchTimer_;
    QString watchedFile_;
    QDateTime watchedTime_;

    CProgressDlg* progressDlg_ = nullptr;
    bool waitingForModel_ = false;  // the progress dialog waits for a model, not a search

    // The copy of another window, until NAVM_COPYSTATE shows it.
    CountedPtr<IModel> copyModel_;
    std::optional<PaneState> copyState_;

    // Children (owned by the window).
    CSplitterCtrl* leftSplitter_ = nullptr;
    CSplitterCtrl* bottomSplitter_ = nullptr;
    CBrowserWnd* browser_ = nullptr;
    CTabsPane* tabs_ = nullptr;
    CResultPane* results_ = nullptr;
    QWidget* toolBarStrip_ = nullptr;
    CNavToolBar* toolBar_ = nullptr;
    CFavoritesPane* favorites_ = nullptr;
};

}  // namespace kestrova
