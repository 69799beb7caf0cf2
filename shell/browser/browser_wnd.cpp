#include "shell/browser/browser_wnd.h"

#include "shell/app/pagiro_frame.h"
#include "shell/browser/browser_page.h"
#include "shell/browser/page_folder_guard.h"
#include "shell/browser/profile_guard.h"
#include "shell/nav/nav_messages.h"

#include <QAction>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineNewWindowRequest>
#include <QWebEngineView>

namespace kestrova {
namespace {

// Raises the navigation depth for the time of a navigation that the host starts.
class DepthRaise {
public:
    explicit DepthRaise(int& depth) : depth_(depth) { ++depth_; }
    ~DepthRaise() { --depth_; }
    DepthRaise(const DepthRaise&) = delete;
    DepthRaise& operator=(const DepthRaise&) = delete;

private:
    int& depth_;
};

// The URL of a navigation: "about:blank" for nothing, a file URL for an absolute path, the
// text itself for a URL.
QUrl UrlFromText(const QString& text) {
    if (text.isEmpty()) return QUrl(QStringLiteral("about:blank"));
    if (text.startsWith(QLatin1Char('/'))) return QUrl::fromLocalFile(text);
    return QUrl(text);
}

// The navigator window as the receiver of its messages. CPagiroWnd derives from QWidget alone,
// so both are the same object at the same address; the browser knows the navigator window
// only by the frame's declaration, not by the navigator's own header.
QObject* NavWindowObject(CPagiroWnd* window) { return reinterpret_cast<QWidget*>(window); }

// Runs a handler of a page event; a failure leaves the host as it was.
template <typename Fn>
void Guarded(Fn&& fn) {
    try {
        fn();
    } catch (...) {
    }
}

}  // namespace

CBrowserWnd::CBrowserWnd(QWidget* parent, QWebEngineProfile& profile, const QString& pageFolder)
    : QWidget(parent), guard_(std::make_unique<PageFolderGuard>(pageFolder)) {
    setObjectName(QStringLiteral("browser"));
    view_ = new QWebEngineView(this);
    view_->setObjectName(QStringLiteral("browserView"));
    profileGuard_ = ProfileGuard::Of(profile);
    if (profileGuard_) profileGuard_->Add(guard_.get());
    page_ = new CBrowserPage(profile, *guard_, this);
    view_->setPage(page_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    setFocusProxy(view_);
    ConnectPage();
}

CBrowserWnd::~CBrowserWnd() {
    // The page first: its renderer process ends with it, and the view must not outlive it
    // holding a dangling page.
    delete page_;
    page_ = nullptr;
    if (profileGuard_) profileGuard_->Remove(guard_.get());
}

void CBrowserWnd::ConnectPage() {
    connect(page_, &QWebEnginePage::loadStarted, this,
            [this] { Guarded([&] { OnLoadStarted(); }); });
    connect(page_, &QWebEnginePage::loadFinished, this,
            [this](bool) { Guarded([&] { OnLoadFinished(); }); });
    connect(page_, &QWebEnginePage::titleChanged, this,
            [this](const QString& title) { Guarded([&] { OnTitleChanged(title); }); });
    connect(page_, &QWebEnginePage::urlChanged, this,
            [this] { emit BWN_COMMANDSTATE(kBrowserCommandAll, true); });
    connect(page_, &QWebEnginePage::newWindowRequested, this,
            [this](QWebEngineNewWindowRequest& request) {
                Guarded([&] { OnNewWindowRequested(request); });
            });
    for (QWebEnginePage::WebAction action : {QWebEnginePage::Back, QWebEnginePage::Forward}) {
        connect(page_->action(action), &QAction::changed, this,
                [this] { Guarded([&] { OnBackForwardChanged(); }); });
    }
}

void CBrowserWnd::SetFrame(IPagiroFrame* frame) { frame_ = frame; }

bool CBrowserWnd::Navigate(const QString& url) {
    DepthRaise raise(navigationDepth_);
    if (loading_) page_->triggerAction(QWebEnginePage::Stop);
    page_->load(UrlFromText(url));
    return true;
}

void CBrowserWnd::Back() { page_->triggerAction(QWebEnginePage::Back); }
void CBrowserWnd::Forward() { page_->triggerAction(QWebEnginePage::Forward); }
void CBrowserWnd::Reload() { page_->triggerAction(QWebEnginePage::Reload); }

QString CBrowserWnd::CurrentURL() const { return page_->url().toString(); }
QString CBrowserWnd::CurrentTitle() const { return title_; }

std::vector<FrameEntry> CBrowserWnd::Frames() const { return page_->Frames().Entries(); }

void CBrowserWnd::OpenInNewWindow() {
    const std::vector<FrameEntry>& frames = page_->Frames().Entries();
    const QString url = frames.empty() ? CurrentURL() : frames.front().url;
    if (CBrowserWnd* host = OpenNewWindowHost()) host->Navigate(url);
}

CBrowserWnd* CBrowserWnd::OpenNewWindowHost() {
    if (!frame_) return nullptr;
    CPagiroWnd* window = frame_->OpenNewWindow();
    if (!window) return nullptr;
    NavGetBrowser message;
    SendNavMessage(NavWindowObject(window), message);
    return message.browser != this ? message.browser : nullptr;
}

void CBrowserWnd::OnNewWindowRequested(QWebEngineNewWindowRequest& request) {
    // A page may not open a local file from outside its folder by way of a new window either;
    // refusing it here opens no empty window.
    if (!guard_->AllowsNewWindow(request.requestedUrl())) return;
    if (CBrowserWnd* host = OpenNewWindowHost()) {
        request.openIn(host->Page());
        host->page_->RebindAfterAdoption();
    }
}

void CBrowserWnd::OnLoadStarted() {
    loading_ = true;
    highlightShown_ = false;  // a new document has no marks
}

void CBrowserWnd::OnLoadFinished() {
    loading_ = false;
    const QString url = CurrentURL();
    if (IsHighlightFor(url) && !highlight_->atOnce) RemoveHighlighting();
    emit BWN_COMMANDSTATE(kBrowserCommandAll, true);
    emit BWN_DOCUMENTCOMPLETE(url);
}

void CBrowserWnd::OnTitleChanged(const QString& title) {
    title_ = title;
    if (frame_) frame_->SetTitle(title);
}

void CBrowserWnd::OnBackForwardChanged() {
    const bool back = page_->action(QWebEnginePage::Back)->isEnabled();
    const bool forward = page_->action(QWebEnginePage::Forward)->isEnabled();
    if (back != backEnabled_) {
        backEnabled_ = back;
        emit BWN_COMMANDSTATE(kBrowserCommandBack, back);
    }
    if (forward != forwardEnabled_) {
        forwardEnabled_ = forward;
        emit BWN_COMMANDSTATE(kBrowserCommandForward, forward);
    }
}

void CBrowserWnd::SetHighlight(const HighlightRecord& record) {
    RemoveHighlighting();
    highlight_ = record;
}

void CBrowserWnd::ClearHighlight() {
    RemoveHighlighting();
    highlight_.reset();
}

void CBrowserWnd::RemoveHighlighting() { highlightShown_ = false; }

std::optional<HighlightRecord> CBrowserWnd::Highlight() const { return highlight_; }

bool CBrowserWnd::IsHighlightFor(const QString& url) const {
    return highlight_ && SameFile(highlight_->url, url);
}

bool CBrowserWnd::IsHighlightShown() const { return highlightShown_; }

bool CBrowserWnd::IsOffline() const { return guard_->IsOffline(); }
void CBrowserWnd::SetOffline(bool offline) { guard_->SetOffline(offline); }

int CBrowserWnd::TextSize() const { return textSize_; }

QWebEnginePage* CBrowserWnd::Page() const { return page_; }
QWebEngineView* CBrowserWnd::View() const { return view_; }

}  // namespace kestrova

// The meta-object code of the header, here rather than in the library's shared moc unit.
#include "moc_browser_wnd.cpp"
