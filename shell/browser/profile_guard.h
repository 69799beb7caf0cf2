// The request check of the whole profile, behind the check of each host's page. Qt WebEngine
// asks a page's own check only for requests that it can tie to that page; requests it cannot
// (a window that a page opened, before the viewer has taken it over) reach only the profile's.
// Here a local file may be loaded only from the folder of some live host, or as a top-level
// document that the viewer opens. Offline mode stays with each host.
//
// User-interface thread only.
#pragma once

#include <QWebEngineUrlRequestInterceptor>

#include <vector>

class QWebEngineProfile;

namespace kestrova {

class PageFolderGuard;

class ProfileGuard : public QWebEngineUrlRequestInterceptor {
public:
    // Makes the check of `profile` (owned by it) and installs it there.
    static void Install(QWebEngineProfile& profile);
    // The check installed in `profile`, or null.
    static ProfileGuard* Of(QWebEngineProfile& profile);

    // A host's check joins while its host lives; it must leave before it is deleted.
    void Add(const PageFolderGuard* guard);
    void Remove(const PageFolderGuard* guard);

    bool Allows(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type,
                QWebEngineUrlRequestInfo::NavigationType navigation) const;
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    explicit ProfileGuard(QObject* parent) : QWebEngineUrlRequestInterceptor(parent) {}

    std::vector<const PageFolderGuard*> guards_;
};

}  // namespace kestrova
