#include "shell/browser/frame_tracker.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QRandomGenerator>

#include <algorithm>

namespace kestrova {
namespace {

QString NewSecret() {
    QString secret;
    for (int i = 0; i < 4; ++i) {
        secret +=
            QString::number(QRandomGenerator::system()->generate(), 16).rightJustified(8, u'0');
    }
    return secret;
}

// Documents that are no place a frame went to: empty frames and the error pages of failed or
// refused loads.
bool IsPlaceholder(const QString& url) {
    return url.startsWith(QLatin1String("about:")) ||
           url.startsWith(QLatin1String("chrome-error:"));
}

// %1: the report prefix as a JavaScript string literal.
const char kReportScript[] = R"JS(
(function () {
    if (window === window.top) return;
    var report = function () {
        console.log(%1 + JSON.stringify([String(window.name), String(location.href)]));
    };
    report();
    window.addEventListener('hashchange', report);
})();
)JS";

}  // namespace

FrameTracker::FrameTracker()
    : prefix_(QStringLiteral("kestrova-frame ") + NewSecret() + QLatin1Char(' ')) {}

QWebEngineScript FrameTracker::ReportScript() const {
    QWebEngineScript script;
    script.setName(QStringLiteral("kestrova-frames"));
    script.setWorldId(QWebEngineScript::ApplicationWorld);
    script.setInjectionPoint(QWebEngineScript::DocumentCreation);
    script.setRunsOnSubFrames(true);
    script.setSourceCode(
        QString::fromLatin1(kReportScript).arg(QLatin1Char('\'') + prefix_ + QLatin1Char('\'')));
    return script;
}

bool FrameTracker::TakeReport(const QString& message, qint64 tick) {
    if (!message.startsWith(prefix_)) return false;
    const QJsonDocument json = QJsonDocument::fromJson(message.mid(prefix_.size()).toUtf8());
    const QJsonArray fields = json.array();
    if (fields.size() == 2 && fields[0].isString() && fields[1].isString()) {
        Record(fields[0].toString(), fields[1].toString(), tick);
    }
    return true;
}

void FrameTracker::Record(const QString& name, const QString& url, qint64 tick) {
    if (IsPlaceholder(url)) return;
    if (std::find(documents_.begin(), documents_.end(), url) == documents_.end()) {
        documents_.push_back(url);
    }
    if (name.isEmpty()) return;
    std::erase_if(entries_, [&](const FrameEntry& e) { return e.name == name; });
    // Before the first entry that is not newer, so that of two equal ticks the later record
    // counts as the more recent.
    auto at = std::find_if(entries_.begin(), entries_.end(),
                           [&](const FrameEntry& e) { return e.tick <= tick; });
    entries_.insert(at, FrameEntry{name, url, tick});
}

}  // namespace kestrova
