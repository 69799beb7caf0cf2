#include "shell/browser/browser_page.h"

#include "shell/browser/web_profile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>
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

// Command links as the user follows them. The browser would hand such a link to the navigation
// check only after a round of its own (several frames); the click is taken here instead, once
// the page's own handlers have had it (a handler that cancels the click cancels the command),
// and reported by a console line that carries a secret of the page, so that no script of the
// page can forge one. A link the page's handlers keep from the window still goes the
// browser's way. The browser also writes every scheme in lower case, so "CMD:back" would
// reach the check as "cmd:back": only links written with exactly "cmd:" are command links, the
// others are stopped here, where the page's own spelling is still known.
// %1: the report prefix as a JavaScript string literal.
const char kLinkScript[] = R"JS(
(function () {
    var prefix = %1;
    document.addEventListener('click', function (event) {
        var t = event.target;
        var a = t && t.closest ? t.closest('a[href], area[href]') : null;
        if (!a) return;
        var href = String(a.getAttribute('href')).replace(/^[\s\u0000-\u001f]+/, '');
        var url = typeof a.href === 'string' ? a.href : href;  // SVG links have no string href
        if (!/^cmd:/i.test(href)) return;
        if (href.substring(0, 4) !== 'cmd:') { event.preventDefault(); return; }
        if (!event.isTrusted || event.button !== 0) return;
        window.addEventListener('click', function (late) {
            if (late !== event || event.defaultPrevented) return;
            event.preventDefault();
            console.log(prefix + JSON.stringify([url, String(location.href)]));
        }, { once: true });
    }, true);
})();
)JS";

QString NewSecret() {
    QString secret;
    for (int i = 0; i < 4; ++i) {
        secret +=
            QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, u'0');
    }
    return secret;
}

QWebEngineScript MakeScript(const char* name, const char* source, quint32 world) {
    QWebEngineScript script;
    script.setName(QString::fromLatin1(name));
    script.setWorldId(world);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(QString::fromUtf8(source));
    return script;
}

}  // namespace

QString CommandLinkText(const QUrl& url) {
    return QStringLiteral("cmd:") + url.toString(QUrl::FullyEncoded | QUrl::RemoveScheme);
}

CBrowserPage::CBrowserPage(QWebEngineProfile& profile, PageFolderGuard& guard, QObject* parent)
    : QWebEnginePage(&profile, parent),
      guard_(guard),
      linkPrefix_(QStringLiteral("kestrova-link ") + NewSecret() + QLatin1Char(' ')) {
    clock_.start();
    setUrlRequestInterceptor(&guard_);
    ApplyPageSettings(*settings());
    scripts().insert(frames_.ReportScript());
    scripts().insert(MakeScript("kestrova-cookie", kCookieScript, QWebEngineScript::MainWorld));
    const QString link =
        QString::fromLatin1(kLinkScript).arg(QLatin1Char('\'') + linkPrefix_ + QLatin1Char('\''));
    scripts().insert(MakeScript("kestrova-links", link.toUtf8().constData(),
                                QWebEngineScript::ApplicationWorld));
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

void CBrowserPage::TakeCommandLink(const QString& report) {
    const QJsonArray fields = QJsonDocument::fromJson(report.toUtf8()).array();
    if (fields.size() != 2 || !fields[0].isString() || !fields[1].isString()) return;
    const QString link = fields[0].toString();
    if (!link.startsWith(QLatin1String("cmd:")) || !commandLink_) return;
    // The document that holds the link must be of the page folder too, and so must the page.
    const bool trusted =
        guard_.IsInsideFolder(QUrl(fields[1].toString())) && ShowsOnlyKnowledgeBase();
    commandLink_(link, trusted);
}

void CBrowserPage::javaScriptConsoleMessage(JavaScriptConsoleMessageLevel level,
                                            const QString& message, int lineNumber,
                                            const QString& sourceId) {
    try {
        if (frames_.TakeReport(message, clock_.msecsSinceReference())) return;
        if (message.startsWith(linkPrefix_)) {
            TakeCommandLink(message.mid(linkPrefix_.size()));
            return;
        }
    } catch (...) {
        return;
    }
    QWebEnginePage::javaScriptConsoleMessage(level, message, lineNumber, sourceId);
}

}  // namespace kestrova

#include "moc_browser_page.cpp"
