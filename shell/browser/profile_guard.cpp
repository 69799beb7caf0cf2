#include "shell/browser/profile_guard.h"

#include "shell/browser/page_folder_guard.h"

#include <QWebEngineProfile>

#include <algorithm>

namespace kestrova {

void ProfileGuard::Install(QWebEngineProfile& profile) {
    profile.setUrlRequestInterceptor(new ProfileGuard(&profile));
}

ProfileGuard* ProfileGuard::Of(QWebEngineProfile& profile) {
    return profile.findChild<ProfileGuard*>(QString(), Qt::FindDirectChildrenOnly);
}

void ProfileGuard::Add(const PageFolderGuard* guard) { guards_.push_back(guard); }

void ProfileGuard::Remove(const PageFolderGuard* guard) { std::erase(guards_, guard); }

bool ProfileGuard::Allows(const QUrl& url, QWebEngineUrlRequestInfo::ResourceType type,
                          QWebEngineUrlRequestInfo::NavigationType navigation) const {
    if (!url.isLocalFile()) return true;
    if (type == QWebEngineUrlRequestInfo::ResourceTypeMainFrame && IsViewerNavigation(navigation)) {
        return true;
    }
    return std::any_of(guards_.begin(), guards_.end(),
                       [&](const PageFolderGuard* guard) { return guard->IsInsideFolder(url); });
}

void ProfileGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!Allows(info.requestUrl(), info.resourceType(), info.navigationType())) info.block(true);
}

}  // namespace kestrova
