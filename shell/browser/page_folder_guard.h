// The request check of one browser host. Pages are content from outside: a page may load local
// files of its own page folder only, and the network only while offline mode is off. Every
// request of the host's page (frames, images, scripts, style sheets, XHR, fetch, media,
// workers) passes here; top-level navigations that the viewer starts (load, back, forward,
// reload) may open any local file, so the user can still be shown one.
//
// User-interface thread only (Qt calls request interceptors on it).
#pragma once

#include <QString>
#include <QUrl>
#include <QWebEngineUrlRequestInterceptor>

namespace kestrova {

class PageFolderGuard : public QWebEngineUrlRequestInterceptor {
public:
    // `pageFolder`: the folder whose files the pages may load (absolute). Symbolic links in it
    // are resolved once here.
    explicit PageFolderGuard(const QString& pageFolder);

    // Whether a request of the page may go out.
    bool Allows(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type,
                QWebEngineUrlRequestInfo::NavigationType navigation) const;
    // Whether `url` names a local file that lies inside the page folder once links and ".."
    // are resolved; a file that does not exist counts where its nearest existing folder is.
    bool IsInsideFolder(const QUrl& url) const;
    // Whether a page may ask for a new window showing `url` (the same rule as a navigation
    // that the page starts).
    bool AllowsNewWindow(const QUrl& url) const;

    bool IsOffline() const { return offline_; }
    void SetOffline(bool offline) { offline_ = offline; }

    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QString folder_;  // canonical, without a trailing '/'
    bool offline_ = false;
};

// True for the schemes whose requests go to the network.
bool IsNetworkScheme(const QString& scheme);
// True for the kinds of top-level navigation that only the viewer starts (load, back or
// forward, reload); a page's scripts and links start the other kinds.
bool IsViewerNavigation(QWebEngineUrlRequestInfo::NavigationType navigation);

}  // namespace kestrova
