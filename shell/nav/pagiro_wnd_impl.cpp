// The navigator window's controller: creation, layout, splitters and the command handler.
#include "shell/nav/pagiro_wnd_impl.h"

#include "exec/workers/model_env_registry.h"
#include "model/data_folder.h"
#include "platform/settings_store.h"
#include "shell/app/nav_window_params.h"
#include "shell/app/pagiro_frame.h"
#include "shell/app/shell_context.h"
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/result_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"
#include "shell/toolbar/splitter_ctrl.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>
#include <QVBoxLayout>

namespace kestrova {
namespace {

constexpr int kMinPaneExtent = 100;  // a pane narrower than this (unscaled pixels) is hidden
constexpr int kDefaultLeftExtent = 250;
constexpr int kDefaultBottomExtent = 150;

// The start page of the command line as a URL: a URL as it is, a path (relative ones taken
// from the folder) as a file URL; none given: the folder's index.html, else index.htm.
QString ResolveStartUrl(const QString& folder, const QString& startPage) {
    if (startPage.isEmpty()) {
        for (const char* name : {"index.html", "index.htm"}) {
            QFileInfo index(QDir(folder).filePath(QString::fromLatin1(name)));
            if (index.isFile()) return QUrl::fromLocalFile(index.absoluteFilePath()).toString();
        }
        return QString();
    }
    QUrl url(startPage);
    if (url.isValid() && url.scheme().size() > 1 && !QDir::isAbsolutePath(startPage)) {
        return startPage;
    }
    QString path = startPage;
    path.replace(u'\\', u'/');
    if (QDir::isRelativePath(path)) path = QDir(folder).filePath(path);
    return QUrl::fromLocalFile(QDir::cleanPath(path)).toString();
}

}  // namespace

CPagiroWnd_impl_::CPagiroWnd_impl_(CPagiroWnd& wnd, ShellContext& context)
    : wnd_(wnd), context_(context) {
    context_.registry.AddUser();
    watchTimer_.setInterval(1000);
    QObject::connect(&watchTimer_, &QTimer::timeout, &wnd_, [this] { OnWatchTick(); });
}

CPagiroWnd_impl_::~CPagiroWnd_impl_() {
    model_.Reset();
    copyModel_.Reset();
    context_.registry.RemoveUser();
}

bool CPagiroWnd_impl_::InitFromParams(const NavWindowParams& params, QString* error) {
    QString folder = params.folder;
    if (!folder.isEmpty()) {
        if (!QFileInfo(folder).isDir()) {
            if (error) *error = QStringLiteral("folder=%1: not an existing directory").arg(folder);
            return false;
        }
    } else {
        folder = QDir::currentPath();
    }
    folder_ = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
    startUrl_ = ResolveStartUrl(folder_, params.startPage);
    startDomain_ = params.domain;
    profile_ = params.profile;
    mode_ = kLoadSettings | kNavigateStart | kRequestModel | kApplyStartDomain;
    frame_ = params.frame;
    return true;
}

void CPagiroWnd_impl_::InitAsCopy(CPagiroWnd_impl_& source, IPagiroFrame* frame) {
    folder_ = source.folder_;
    startUrl_ = source.startUrl_;
    startDomain_ = source.startDomain_;
    profile_ = source.profile_;
    source.ReadBackChildSettings();
    settings_ = source.settings_;
    copyModel_ = source.model_;
    copyState_ = source.SavePaneState();
    mode_ = 0;
    frame_ = frame;
}

bool CPagiroWnd_impl_::Create() {
    DevModeOptions dev;
    ReadDevModeOptions(dev);
    contentDetails_ = dev.ContentDetails;
    if (!CreateChildren()) return false;
    ConnectChildren();
    if (contentDetails_) tabs_->Contents()->SetDetailsMode();
    if (mode_ & kLoadSettings) {
        LoadViewSettings(platform::SettingsStore(), profile_, settings_);
        settings_.bottomPaneVisible = false;  // the result pane always starts hidden
    }
    toolBar_ = new CNavToolBar(toolBarStrip_, settings_.showText);
    toolBarStrip_->layout()->addWidget(toolBar_);
    ClampPaneSizes();
    ApplySettingsToChildren();
    CreateShortcuts();
    QObject::connect(toolBar_, &CNavToolBar::command, &wnd_,
                     [this](int id) { wnd_.ExecuteCommand(id); });
    QObject::connect(toolBar_->SearchBox(), &CSearchComboBox::SEN_ENTER, &wnd_,
                     [this] { wnd_.ExecuteCommand(ID_SEARCH); });
    QObject::connect(toolBar_->DomainBox(), &CDomainComboBox::selectionChanged, &wnd_,
                     [this] { OnCategoryChanged(); });
    OpenFavorites();
    created_ = true;
    if (mode_ & kNavigateStart) browser_->Navigate(startUrl_);
    context_.registry.Subscribe(folder_.toStdU16String(), this);
    if (mode_ & kRequestModel) context_.registry.RequestModel(folder_.toStdU16String());
    if (copyState_) PostNavMessage(&wnd_, NAVM_COPYSTATE);
    Layout();
    return true;
}

bool CPagiroWnd_impl_::CreateChildren() {
    leftSplitter_ = new CSplitterCtrl(&wnd_, Qt::Vertical);
    bottomSplitter_ = new CSplitterCtrl(&wnd_, Qt::Horizontal);
    browser_ = new CBrowserWnd(&wnd_, context_.profile, folder_);
    browser_->SetFrame(frame_);
    browser_->SetHomePages(startUrl_, startUrl_);
    tabs_ = new CTabsPane(&wnd_);
    results_ = new CResultPane(&wnd_);
    toolBarStrip_ = new QWidget(&wnd_);
    toolBarStrip_->setObjectName(QStringLiteral("toolBarStrip"));
    auto* strip = new QVBoxLayout(toolBarStrip_);
    strip->setContentsMargins(0, 0, 0, 0);
    return true;
}

void CPagiroWnd_impl_::ConnectChildren() {
    tabs_->Contents()->SetNavWindow(&wnd_);
    tabs_->Index()->SetNavWindow(&wnd_);
    results_->SetNavWindow(&wnd_);
    QObject::connect(leftSplitter_, &CSplitterCtrl::SPN_MOVED, &wnd_,
                     [this](const QRect& bar) { OnSplitterMoved(true, bar); });
    QObject::connect(bottomSplitter_, &CSplitterCtrl::SPN_MOVED, &wnd_,
                     [this](const QRect& bar) { OnSplitterMoved(false, bar); });
    QObject::connect(leftSplitter_, &CSplitterCtrl::SPN_TOGGLE, &wnd_,
                     [this] { OnSplitterToggle(true); });
    QObject::connect(bottomSplitter_, &CSplitterCtrl::SPN_TOGGLE, &wnd_,
                     [this] { OnSplitterToggle(false); });
    QObject::connect(browser_, &CBrowserWnd::BWN_COMMANDSTATE, &wnd_,
                     [this](int command, bool enable) { OnCommandState(command, enable); });
    QObject::connect(browser_, &CBrowserWnd::BWN_COMMAND, &wnd_,
                     [this](int id) { wnd_.ExecuteCommand(id); });
    QObject::connect(browser_, &CBrowserWnd::BWN_DOCUMENTCOMPLETE, &wnd_,
                     [this](const QString& url) { OnDocumentComplete(url); });
}

int CPagiroWnd_impl_::ScaleX(int pixels96) const {
    return qRound(pixels96 * wnd_.logicalDpiX() / 96.0);
}

int CPagiroWnd_impl_::ScaleY(int pixels96) const {
    return qRound(pixels96 * wnd_.logicalDpiY() / 96.0);
}

void CPagiroWnd_impl_::ClampPaneSizes() {
    QSize screen(1920, 1080);
    if (QScreen* s = QGuiApplication::primaryScreen()) screen = s->geometry().size();
    int left = settings_.leftPaneExtent;
    if (left < kMinPaneExtent || left > screen.width()) left = kDefaultLeftExtent;
    int bottom = settings_.bottomPaneExtent;
    if (bottom < kMinPaneExtent || bottom > screen.height()) bottom = kDefaultBottomExtent;
    leftWidth_ = ScaleX(left);
    bottomHeight_ = ScaleY(bottom);
    splitterThickness_ = ScaleX(5);
}

void CPagiroWnd_impl_::ApplySettingsToChildren() {
    tabs_->Contents()->SetIcons(settings_.showIcons);
    toolBar_->SetShowText(settings_.showText);
    browser_->SetOffline(settings_.offlineMode);
    toolBar_->SearchBox()->RefillHistory(settings_.searchHistory);
    tabs_->Index()->RefillHistory(settings_.indexHistory);
}

void CPagiroWnd_impl_::ReadBackChildSettings() {
    if (!tabs_) return;
    settings_.showIcons = tabs_->Contents()->IconsOn();
    settings_.showText = toolBar_->ShowText();
    settings_.offlineMode = browser_->IsOffline();
}

void CPagiroWnd_impl_::Destroy() {
    created_ = false;
    watchTimer_.stop();
    const std::u16string folder = folder_.toStdU16String();
    context_.registry.Unsubscribe(folder, this);
    context_.registry.DetachClient(folder, this);
    ReadBackChildSettings();
    SaveViewSettings(platform::SettingsStore(), profile_, settings_);
    CloseFavorites();
    if (tabs_) {
        tabs_->Contents()->Clear();
        tabs_->Index()->Clear();
    }
    {
        std::lock_guard lock(pendingModelLock_);
        pendingModel_.Reset();
    }
    {
        std::lock_guard lock(pendingResultLock_);
        pendingResult_.Reset();
    }
}

void CPagiroWnd_impl_::Layout() {
    if (!tabs_ || !toolBar_) return;
    const QRect client = wnd_.rect();
    const int L = client.left(), T = client.top();
    const int R = client.left() + client.width(), B = client.top() + client.height();
    const int w = settings_.leftPaneVisible ? leftWidth_ : 0;
    const int h = settings_.bottomPaneVisible ? bottomHeight_ : 0;
    const int s = splitterThickness_;
    const int t = toolBar_->StripHeight();
    auto place = [](QWidget* child, int l, int top, int r, int b) {
        child->setGeometry(l, top, std::max(0, r - l), std::max(0, b - top));
    };
    place(tabs_, L, T, L + w, B);
    tabs_->setVisible(w > 0);
    place(leftSplitter_, L + w, T, L + w + s, B);
    place(toolBarStrip_, L + w + s, T, R, T + t);
    place(results_, L + w + s, B - h, R, B);
    results_->setVisible(h > 0);
    place(bottomSplitter_, L + w + s, B - h - s, R, B - h);
    place(browser_, L + w + s, T + t, R, B - h - s);
    leftSplitter_->SetPaneShown(settings_.leftPaneVisible);
    bottomSplitter_->SetPaneShown(settings_.bottomPaneVisible);
    leftSplitter_->SetToolbarHeight(t);
    leftSplitter_->SetAllowedArea(QRect(L, T, R - L, B - T));
    bottomSplitter_->SetAllowedArea(QRect(L + w + s, T + t, R - (L + w + s), B - (T + t)));
    tabs_->StretchTo(w);
}

void CPagiroWnd_impl_::OnSplitterMoved(bool left, const QRect& bar) {
    if (left) {
        const int x = bar.left();
        settings_.leftPaneVisible = x > kMinPaneExtent;
        if (settings_.leftPaneVisible) {
            leftWidth_ = x;
            settings_.leftPaneExtent = qRound(x * 96.0 / wnd_.logicalDpiX());
        }
    } else {
        const int a = wnd_.rect().height() - (bar.top() + bar.height());
        settings_.bottomPaneVisible = a > kMinPaneExtent;
        if (settings_.bottomPaneVisible) {
            bottomHeight_ = a;
            settings_.bottomPaneExtent = qRound(a * 96.0 / wnd_.logicalDpiY());
        }
    }
    Layout();
}

void CPagiroWnd_impl_::OnSplitterToggle(bool left) {
    bool& visible = left ? settings_.leftPaneVisible : settings_.bottomPaneVisible;
    visible = !visible;
    Layout();
}

void CPagiroWnd_impl_::ShowLeftPane() {
    bool changed = !settings_.leftPaneVisible;
    settings_.leftPaneVisible = true;
    if (leftWidth_ < ScaleX(kMinPaneExtent)) {
        leftWidth_ = ScaleX(kDefaultLeftExtent);
        changed = true;
    }
    if (changed) Layout();
}

void CPagiroWnd_impl_::ShowBottomPane() {
    bool changed = !settings_.bottomPaneVisible;
    settings_.bottomPaneVisible = true;
    if (bottomHeight_ < ScaleY(kMinPaneExtent)) {
        bottomHeight_ = ScaleY(kDefaultBottomExtent);
        changed = true;
    }
    if (changed) Layout();
}

void CPagiroWnd_impl_::ShowTab(int tab) {
    ShowLeftPane();
    tabs_->SelectTab(tab);
    tabs_->setFocus();
}

void CPagiroWnd_impl_::FocusMain() {
    if (browser_) browser_->setFocus();
}

bool CPagiroWnd_impl_::HandleMessage(NavMessage& message) {
    switch (message.Id()) {
        case NAVM_KEYWORDTOPICS:
            OnKeywordTopics(static_cast<NavKeywordTopics&>(message).keyword);
            message.result = 1;
            return true;
        case NAVM_NAVIGATE:
            Navigate(static_cast<NavNavigate&>(message).request);
            message.result = 1;
            return true;
        case NAVM_GETBROWSER:
            static_cast<NavGetBrowser&>(message).browser = browser_;
            message.result = reinterpret_cast<qintptr>(browser_);
            return true;
        case NAVM_MODELREADY:
            OnModelReady();
            return true;
        case NAVM_SEARCHDONE:
            OnSearchDone();
            return true;
        case NAVM_COPYSTATE:
            OnCopyState();
            return true;
        case NAVM_OPENFILE:
            OpenFile(static_cast<NavOpenFile&>(message).file);
            message.result = 1;
            return true;
        case NAVM_DOMODAL:
            message.result = DoModal(static_cast<NavDoModal&>(message).dialog);
            return true;
        case NAVM_MESSAGEBOX: {
            auto& box = static_cast<NavMessageBox&>(message);
            message.result = MessageBox(box.text, box.icon, box.buttons, box.caption);
            return true;
        }
    }
    return false;
}

void CPagiroWnd_impl_::OnCommand(int id) {
    switch (id) {
        case ID_GO_BACK:
            browser_->Back();
            break;
        case ID_GO_FORWARD:
            browser_->Forward();
            break;
        case ID_SHOW_CONTENTS:
            ShowTab(kTabContents);
            break;
        case ID_SHOW_INDEX:
            ShowTab(kTabIndex);
            break;
        case ID_FIND_IN_CONTENTS:
            FindInContents();
            break;
        case ID_SEARCH:
            Search();
            break;
        case ID_EDIT_PAGE:
        case ID_EDIT_CURRENT_PAGE:
            EditPage();
            break;
        case ID_OPEN_NEW_WINDOW:
            browser_->OpenInNewWindow();
            break;
        case ID_LEFT_PANE:
            OnSplitterToggle(true);
            break;
        case ID_RESULT_PANE:
            OnSplitterToggle(false);
            break;
        case ID_DB_REBUILD:
            context_.registry.RequestReload(folder_.toStdU16String());
            break;
        // The search options take effect with the next search.
        case ID_TITLES_ONLY:
            settings_.titlesOnly = !settings_.titlesOnly;
            break;
        case ID_RELATED_WORDS:
            settings_.relatedWords = !settings_.relatedWords;
            break;
        case ID_QUERY_LANGUAGE:
            settings_.queryLanguage = !settings_.queryLanguage;
            break;
        case ID_ADD_FAVORITE:
            AddToFavorites(0);
            break;
        case ID_FAV_UP:
        case ID_FAV_DOWN:
        case ID_FAV_ADD_FOLDER:
        case ID_FAV_EDIT:
        case ID_FAV_DELETE:
            FavoritesCommand(id);
            break;
        // The page shown (pagiro_wnd_page.cpp).
        case ID_FIND_ON_PAGE:
        case ID_PRINT_PAGE:
        case ID_FONT_SIZE:
        case ID_ZOOM_IN:
        case ID_ZOOM_OUT:
        case ID_ZOOM_0:
        case ID_ZOOM_1:
        case ID_ZOOM_2:
        case ID_ZOOM_3:
        case ID_ZOOM_4:
        case ID_OFFLINE_MODE:
        case ID_HIGHLIGHT:
            OnPageCommand(id);
            break;
        // The menus and the commands that act on the window itself.
        case ID_MAIN_MENU:
        case ID_TOOLBAR_TEXT:
        case ID_CONTENT_ICONS:
        case ID_DB_INFO:
        case ID_DB_EXPORT_XML:
        case ID_CLEAR_HISTORY:
        case ID_ABOUT:
            OnWindowCommand(id);
            break;
        default:
            break;
    }
}

}  // namespace kestrova
