#include "shell/browser/browser_page.h"

#include <QWebEngineScriptCollection>
#include <QWebEngineSettings>

namespace kestrova {

CBrowserPage::CBrowserPage(QWebEngineProfile& profile, PageFolderGuard& guard, QObject* parent)
    : QWebEnginePage(&profile, parent), guard_(guard) {
    clock_.start();
    setUrlRequestInterceptor(&guard_);
    // As the profile's defaults say, set here too so that no other profile's defaults can
    // loosen them: local pages reach local files (the guard keeps them in the page folder),
    // never remote answers across origins.
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, true);
    settings()->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    scripts().insert(frames_.ReportScript());
}

bool CBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    try {
        if (check_ && !check_(url, type, isMainFrame)) return false;
        // A new top-level document has none of the old one's frames. (Frame documents report
        // themselves once they exist, see FrameTracker.)
        if (isMainFrame) frames_.Clear();
        return true;
    } catch (...) {
        return false;
    }
}

void CBrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                            const QString& message, int lineNumber,
                                            const QString& sourceId) {
    try {
        if (frames_.TakeReport(message, clock_.msecsSinceReference())) return;
    } catch (...) {
        return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
}

}  // namespace kestrova

#include "moc_browser_page.cpp"
