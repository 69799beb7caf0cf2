#include "shell/browser/browser_page.h"

#include "shell/browser/web_profile.h"

#include <QWebEngineScriptCollection>

namespace kestrova {

CBrowserPage::CBrowserPage(QWebEngineProfile& profile, PageFolderGuard& guard, QObject* parent)
    : QWebEnginePage(&profile, parent), guard_(guard) {
    clock_.start();
    setUrlRequestInterceptor(&guard_);
    ApplyPageSettings(*settings());
    scripts().insert(frames_.ReportScript());
}

void CBrowserPage::RebindAfterAdoption() {
    setUrlRequestInterceptor(nullptr);
    setUrlRequestInterceptor(&guard_);
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
