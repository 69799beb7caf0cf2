#include "shell/browser/browser_page.h"

#include "shell/browser/web_profile.h"

#include <QWebEngineScript>
#include <QWebEngineScriptCollection>

namespace kestrova {
namespace {

// Pages look for this cookie to learn that their command links work. Chromium keeps no
// cookies for local files, so the page's own world sees it through document.cookie itself.
const char kCookieScript[] = R"JS(
(function () {
    var d = Object.getOwnPropertyDescriptor(Document.prototype, 'cookie');
    if (!d || !d.get || !d.set) return;
    var mark = 'cmd_receiver=KSV';
    Object.defineProperty(document, 'cookie', {
        configurable: true,
        enumerable: true,
        get: function () {
            var c = '';
            try { c = String(d.get.call(this)); } catch (e) {}
            if (('; ' + c + ';').indexOf('; ' + mark + ';') >= 0) return c;
            return c ? c + '; ' + mark : mark;
        },
        set: function (v) { try { d.set.call(this, v); } catch (e) {} }
    });
})();
)JS";

// The browser writes the scheme of every URL in lower case, so "CMD:back" would reach the
// navigation check as the command link "cmd:back". Only links written with exactly "cmd:" are
// command links; the others are stopped here, where the page's own spelling is still known.
const char kLinkCaseScript[] = R"JS(
document.addEventListener('click', function (event) {
    var a = event.target && event.target.closest ? event.target.closest('a[href]') : null;
    if (!a) return;
    var href = String(a.getAttribute('href')).replace(/^[\s\u0000-\u001f]+/, '');
    if (/^cmd:/i.test(href) && href.substring(0, 4) !== 'cmd:') event.preventDefault();
}, true);
)JS";

QWebEngineScript MakeScript(const char* name, const char* source, quint32 world) {
    QWebEngineScript script;
    script.setName(QString::fromLatin1(name));
    script.setWorldId(world);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QString::fromLatin1(source));
    return script;
}

}  // namespace

QString CommandLinkText(const QUrl& url) {
    return QStringLiteral("cmd:") + url.toString(QUrl::FullyEncoded | QUrl::RemoveScheme);
}

CBrowserPage::CBrowserPage(QWebEngineProfile& profile, PageFolderGuard& guard, QObject* parent)
    : QWebEnginePage(&profile, parent), guard_(guard) {
    clock_.start();
    setUrlRequestInterceptor(&guard_);
    ApplyPageSettings(*settings());
    scripts().insert(frames_.ReportScript());
    scripts().insert(MakeScript("kestrova-cookie", kCookieScript, QWebEngineScript::MainWorld));
    scripts().insert(
        MakeScript("kestrova-link-case", kLinkCaseScript, QWebEngineScript::ApplicationWorld));
}

bool CBrowserPage::ShowsOnlyKnowledgeBase() const {
    if (!guard_.IsInsideFolder(url())) return false;
    for (const QString& document : frames_.Documents()) {
        if (!guard_.IsInsideFolder(QUrl(document))) return false;
    }
    return true;
}

void CBrowserPage::RebindAfterAdoption() {
    setUrlRequestInterceptor(nullptr);
    setUrlRequestInterceptor(&guard_);
}

bool CBrowserPage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    try {
        if (url.scheme() == QLatin1String("cmd")) {
            if (commandLink_) commandLink_(CommandLinkText(url), ShowsOnlyKnowledgeBase());
            return false;
        }
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
