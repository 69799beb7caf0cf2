// The browser host: the child window 1001 of the navigator window, around a QWebEngineView.
// It shows pages, reports to the navigator window through its BWN_ signals, opens pages that
// ask for a new window in a new navigator window, keeps the list of the frames of a framed
// page, and keeps pages from reading local files outside the page folder.
//
// User-interface thread only.
#pragma once

#include <QString>
#include <QWidget>

#include <memory>
#include <optional>
#include <vector>

class QWebEngineNewWindowRequest;
class QWebEngineProfile;
class QWebEnginePage;
class QWebEngineView;

namespace kestrova {

class CBrowserPage;
class IPagiroFrame;
class PageFolderGuard;
class ProfileGuard;

// One frame of the page shown: its name, the URL it last went to and when (a monotonic tick
// in milliseconds).
struct FrameEntry {
    QString name;
    QString url;
    qint64 tick = 0;
};

// The words to mark in a page opened from a search result.
struct HighlightRecord {
    QString url;
    QString query;
    bool relatedWords = false;
    bool atOnce = false;  // mark them when the page has loaded (small local files only)
};

// Notification codes of the BWN_ signals.
enum BrowserNotification : int {
    BWN_CODE_COMMANDSTATE = 200,
    BWN_CODE_COMMAND = 201,
    BWN_CODE_DOCUMENTCOMPLETE = 202,
    BWN_CODE_ADDFAVORITE = 203,
};
// The commands of BWN_COMMANDSTATE.
inline constexpr int kBrowserCommandForward = 1;
inline constexpr int kBrowserCommandBack = 2;
inline constexpr int kBrowserCommandAll = -1;

class CBrowserWnd : public QWidget {
    Q_OBJECT
public:
    // A host whose pages may load local files only from `pageFolder` (absolute, native).
    // objectName "browser". `profile` (see web_profile.h) must outlive the host.
    CBrowserWnd(QWidget* parent, QWebEngineProfile& profile, const QString& pageFolder);
    // Deletes the page first, so that its renderer process ends with the window.
    ~CBrowserWnd() override;

    // The frame asked for new windows (OpenNewWindow) and told of title changes.
    void SetFrame(IPagiroFrame* frame);

    // Navigates to `url` ("about:blank" when empty, a file for an absolute path), stopping a
    // load in progress. True.
    bool Navigate(const QString& url);
    void Back();
    void Forward();
    void Reload();
    // The URL of the top-level document, and the title last reported.
    QString CurrentURL() const;
    QString CurrentTitle() const;
    // The frames of the page shown, most recently navigated first.
    std::vector<FrameEntry> Frames() const;
    // Opens the page of the most recently navigated frame (else the page shown) in a new
    // navigator window.
    void OpenInNewWindow();

    // The highlight record of the next page: set (replacing the old one), clear (dropping
    // it and any marks), remove only the marks (the record stays), and queries.
    void SetHighlight(const HighlightRecord& record);
    void ClearHighlight();
    void RemoveHighlighting();
    std::optional<HighlightRecord> Highlight() const;
    bool IsHighlightFor(const QString& url) const;
    bool IsHighlightShown() const;

    // Offline mode: nothing is requested from the network while it is on.
    bool IsOffline() const;
    void SetOffline(bool offline);

    // The text size of the pages, 0 (smallest) to 4 (largest).
    int TextSize() const;

    QWebEnginePage* Page() const;
    QWebEngineView* View() const;

signals:
    // The availability of back (command 2), forward (1) or of every other command (-1).
    void BWN_COMMANDSTATE(int command, bool enable);
    // A command link asks for a navigator command.
    void BWN_COMMAND(int id);
    // A document finished loading.
    void BWN_DOCUMENTCOMPLETE(const QString& url);
    // The page's context menu asked to add the page to the favorites (flag 1).
    void BWN_ADDFAVORITE(int flag);

private:
    void ConnectPage();
    // The page's events.
    void OnLoadStarted();
    void OnLoadFinished();
    void OnTitleChanged(const QString& title);
    void OnNewWindowRequested(QWebEngineNewWindowRequest& request);
    void OnBackForwardChanged();
    // The browser host of a new navigator window that the frame opens; null when there is no
    // frame or it makes no window.
    CBrowserWnd* OpenNewWindowHost();

    IPagiroFrame* frame_ = nullptr;
    std::unique_ptr<PageFolderGuard> guard_;  // outlives the page, which calls it
    ProfileGuard* profileGuard_ = nullptr;    // the profile's check, which knows guard_
    QWebEngineView* view_ = nullptr;
    CBrowserPage* page_ = nullptr;  // owned; deleted first in the destructor
    int navigationDepth_ = 0;       // above 0 while the host itself starts a navigation
    bool loading_ = false;          // between the page's load start and load end
    QString title_;
    std::optional<HighlightRecord> highlight_;
    bool highlightShown_ = false;
    int textSize_ = 2;
    // The availability last reported for back and forward.
    bool backEnabled_ = false;
    bool forwardEnabled_ = false;
};

// Whether two URLs (or paths) denote the same local file: both must be local paths or file
// URLs; each is cut at its last '#' and the two native paths are compared exactly.
bool SameFile(const QString& a, const QString& b);

}  // namespace kestrova
