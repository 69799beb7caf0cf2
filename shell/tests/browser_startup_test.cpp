// How long the first page of a window takes, from the making of its browser host to the page
// loaded, with and without Chromium started early. Each figure is measured in a fresh process
// (a child run of this program), printed, and not checked against a limit.
#include "shell/browser/browser_wnd.h"
#include "shell/browser/web_profile.h"
#include "shell/tests/browser_test_support.h"
#include "shell/tests/shell_test_support.h"

#include <QElapsedTimer>
#include <QObject>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <memory>

using namespace kestrova;
using namespace kestrova::test;

namespace {

const char kModeVariable[] = "KESTROVA_BROWSER_STARTUP";
constexpr int kRounds = 3;

// Runs this program's MeasureFirstPage in a child process and returns what it printed.
QString MeasureInChild(const QString& mode) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kModeVariable, mode);
    child.setProcessEnvironment(env);
    child.start(QCoreApplication::applicationFilePath(), {QStringLiteral("MeasureFirstPage")});
    if (!child.waitForFinished(60000) || child.exitCode() != 0) return QString();
    const QRegularExpression figure(QStringLiteral("figure: ([^\\n]*)"));
    QString figures;
    auto it = figure.globalMatch(QString::fromUtf8(child.readAllStandardOutput()));
    while (it.hasNext()) figures += it.next().captured(1) + QLatin1String("; ");
    return figures;
}

}  // namespace

class BrowserStartupTest : public QObject {
    Q_OBJECT
private slots:
    void FirstPageTimesAreReported() {
        if (qEnvironmentVariableIsSet(kModeVariable)) QSKIP("the child measures only");
        // Alternating rounds, so that a busy moment of the machine does not favour one mode.
        for (int round = 1; round <= kRounds; ++round) {
            for (const QString& mode : {QStringLiteral("cold"), QStringLiteral("early")}) {
                const QString figures = MeasureInChild(mode);
                QVERIFY2(!figures.isEmpty(), qPrintable(mode));
                qInfo("round %d, %s start: %s", round, qPrintable(mode), qPrintable(figures));
            }
        }
    }

    void MeasureFirstPage() {
        const QString mode = qEnvironmentVariable(kModeVariable);
        if (mode.isEmpty()) QSKIP("runs in a child process");
        const QString folder = TestHome().path() + "/pages";
        WriteFile(folder + "/page.html",
                  "<html><head><title>Страница</title></head><body><p>Текст</p></body></html>");
        QElapsedTimer made;
        made.start();
        std::unique_ptr<QWebEngineProfile> profile(CreateWebProfile(nullptr));
        qInfo("figure: profile made in %lld ms", made.elapsed());
        if (mode == "early") {
            // The viewer starts Chromium while the model loads; the window comes later.
            QElapsedTimer early;
            early.start();
            StartBrowserEarly(*profile);
            QTRY_VERIFY_WITH_TIMEOUT(profile->findChildren<QWebEnginePage*>().isEmpty(), 30000);
            qInfo("figure: early start took %lld ms", early.elapsed());
        }
        QElapsedTimer timer;
        timer.start();
        {
            BrowserWindow window(*profile, folder);
            QVERIFY(NavigateAndWait(*window.browser,
                                    QUrl::fromLocalFile(folder + "/page.html").toString()));
            qInfo("figure: host made to first page loaded %lld ms", timer.elapsed());
        }
    }
};

KESTROVA_SHELL_TEST_MAIN(BrowserStartupTest)
#include "browser_startup_test.moc"
