#include "shell/browser/page_folder_guard.h"

#include <QDir>
#include <QFileInfo>

namespace kestrova {
namespace {

using Info = QWebEngineUrlRequestInfo;

QString CanonicalFolder(const QString& folder) {
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    // A folder that does not exist (yet) keeps its cleaned absolute form; nothing can be
    // read from it anyway.
    QString path = canonical.isEmpty() ? QDir::cleanPath(QDir(folder).absolutePath()) : canonical;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) path.chop(1);
    return path;
}

// The path with links resolved. The browser opens a URL's path with "." and ".." taken out
// first, so they are taken out here too before links are resolved. A file that does not exist
// (a broken link of a page) stands where its nearest existing folder stands: its load fails
// anyway, and it fails the same way as outside the viewer.
QString ResolvedPath(const QString& path) {
    QString existing = QDir::cleanPath(path);
    QString missing;
    while (!existing.isEmpty()) {
        const QString canonical = QFileInfo(existing).canonicalFilePath();
        if (!canonical.isEmpty()) return canonical + missing;
        const qsizetype slash = existing.lastIndexOf(QLatin1Char('/'));
        if (slash <= 0) break;
        missing.prepend(existing.mid(slash));
        existing.truncate(slash);
    }
    return QString();
}

}  // namespace

bool IsViewerNavigation(Info::NavigationType navigation) {
    return navigation == Info::NavigationTypeTyped ||
           navigation == Info::NavigationTypeBackForward ||
           navigation == Info::NavigationTypeReload;
}

bool IsNetworkScheme(const QString& scheme) {
    static const char* const kNetwork[] = {"http", "https", "ws", "wss", "ftp"};
    for (const char* s : kNetwork) {
        if (scheme.compare(QLatin1String(s), Qt::CaseInsensitive) == 0) return true;
    }
    return false;
}

PageFolderGuard::PageFolderGuard(const QString& pageFolder)
    : folder_(CanonicalFolder(pageFolder)) {}

bool PageFolderGuard::IsInsideFolder(const QUrl& url) const {
    if (!url.isLocalFile()) return false;
    const QString host = url.host();
    if (!host.isEmpty() && host.compare(QLatin1String("localhost"), Qt::CaseInsensitive) != 0) {
        return false;
    }
    const QString path = ResolvedPath(url.toLocalFile());
    if (path.isEmpty()) return false;
    if (path == folder_) return true;
    const QString prefix = folder_ == QLatin1String("/") ? folder_ : folder_ + QLatin1Char('/');
    return path.startsWith(prefix);
}

bool PageFolderGuard::Allows(const QUrl& url, Info::ResourceType type,
                             Info::NavigationType navigation) const {
    if (IsNetworkScheme(url.scheme())) return !offline_;
    if (!url.isLocalFile()) return true;
    if (type == Info::ResourceTypeMainFrame && IsViewerNavigation(navigation)) return true;
    return IsInsideFolder(url);
}

bool PageFolderGuard::AllowsNewWindow(const QUrl& url) const {
    return Allows(url, Info::ResourceTypeMainFrame, Info::NavigationTypeLink);
}

void PageFolderGuard::interceptRequest(QWebEngineUrlRequestInfo& info) {
    if (!Allows(info.requestUrl(), info.resourceType(), info.navigationType())) info.block(true);
}

}  // namespace kestrova
