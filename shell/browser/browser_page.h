// The page of one browser host: Qt WebEngine's page with the host's navigation check, its
// frames list and its request check. Each host owns exactly one; deleting it ends the page's
// renderer process.
//
// User-interface thread only.
#pragma once

#include "shell/browser/frame_tracker.h"
#include "shell/browser/page_folder_guard.h"

#include <QElapsedTimer>
#include <QWebEnginePage>

#include <functional>

namespace kestrova {

class CBrowserPage : public QWebEnginePage {
    Q_OBJECT
public:
    // Asked before every navigation of the page or of one of its frames; false cancels it.
    using NavigationCheck =
        std::function<bool(const QUrl& url, NavigationType type, bool isMainFrame)>;

    // A page whose requests `guard` checks; the guard must outlive the page.
    CBrowserPage(QWebEngineProfile& profile, PageFolderGuard& guard, QObject* parent);

    // Qt WebEngine drops the page's request check when the page takes over the contents of a
    // window that another page opened; this gives it back.
    void RebindAfterAdoption();

    void SetNavigationCheck(NavigationCheck check) { check_ = std::move(check); }

    // Told of every command link ("cmd:...") that the page or one of its frames follows, with
    // whether the page may drive the viewer (see ShowsOnlyKnowledgeBase). The link never loads.
    using CommandLinkHandler = std::function<void(const QString& link, bool trusted)>;
    void SetCommandLinkHandler(CommandLinkHandler handler) { commandLink_ = std::move(handler); }
    // True when the top document and every document that a frame of it has shown are local
    // files inside the page folder: only such a page is the knowledge base's own.
    bool ShowsOnlyKnowledgeBase() const;
    const FrameTracker& Frames() const { return frames_; }
    PageFolderGuard& Guard() const { return guard_; }

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    void javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level, const QString& message,
                                  int lineNumber, const QString& sourceId) override;

private:
    // A command link reported by the page's link script: [link, URL of its document].
    void TakeCommandLink(const QString& report);

    PageFolderGuard& guard_;
    const QString linkPrefix_;  // the start of a link report, secret included
    FrameTracker frames_;
    QElapsedTimer clock_;  // the ticks of the frames list
    NavigationCheck check_;
    CommandLinkHandler commandLink_;
};

// The text of a command link as the page wrote it, as far as the browser keeps it: "cmd:" and
// the rest with its percent escapes.
QString CommandLinkText(const QUrl& url);

}  // namespace kestrova
