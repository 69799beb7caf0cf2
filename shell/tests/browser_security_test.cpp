// Pages are content from outside: a page reaches the local files of its own folder only, and
// the network only while offline mode is off. Hostile pages here are real pages in a folder of
// their own, with a secret file beside that folder.
#include "shell/browser/browser_wnd.h"
#include "shell/browser/page_folder_guard.h"
#include "shell/browser/profile_guard.h"
#include "shell/browser/web_profile.h"
#include "shell/tests/browser_test_support.h"
#include "shell/tests/shell_test_support.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QObject>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrl>
#include <QWebEngineProfile>

#include <memory>

using namespace kestrova;
using namespace kestrova::test;

namespace {

using Info = QWebEngineUrlRequestInfo;

const QByteArray kSecret = "TOPSECRET";

void WritePng(const QString& path) {
    QImage image(4, 4, QImage::Format_RGB32);
    image.fill(Qt::red);
    QVERIFY(image.save(path, "PNG"));
}

// The secret files, beside every page folder: a text, a picture and a script.
QString SecretFolder() {
    const QString folder = TestHome().path() + "/secret";
    if (!QDir(folder).exists()) {
        WriteFile(folder + "/secret.txt", kSecret + "\n");
        WriteFile(folder + "/secret.js", "window.leak = '" + kSecret + "';\n");
        WritePng(folder + "/secret.png");
    }
    return folder;
}

// What the hostile page tries; each try ends as one entry of the results in #r.
const char kHostileScript[] = R"JS(
var results = {};
function put(k, v) { results[k] = String(v).trim(); document.getElementById('r').textContent = JSON.stringify(results); }
function read(k, url) {
  fetch(url).then(r => r.text()).then(t => put('fetch ' + k, t), e => put('fetch ' + k, 'refused'));
  var x = new XMLHttpRequest();
  x.open('GET', url);
  x.onload = () => put('xhr ' + k, x.responseText);
  x.onerror = () => put('xhr ' + k, 'refused');
  x.send();
}
function picture(k, url) {
  var i = new Image();
  i.onload = () => put('img ' + k, 'width ' + i.naturalWidth);
  i.onerror = () => put('img ' + k, 'refused');
  i.src = url;
}
function frame(k, url) {
  var f = document.createElement('iframe');
  f.onload = () => { var t; try { t = f.contentDocument.body.innerText; } catch (e) { t = 'refused'; } put('frame ' + k, t); };
  f.src = url;
  document.body.appendChild(f);
}
read('outside', '../secret/secret.txt');
read('dotdot', 'sub/../../secret/secret.txt');
read('link', 'link.txt');
read('absolute', '%1');
read('inside', 'inside.txt');
picture('outside', '../secret/secret.png');
picture('inside', 'inside.png');
frame('outside', '../secret/secret.txt');
frame('inside', 'inside.txt');
var w = new Worker('w.js');
w.onmessage = e => put('worker', e.data);
put('script', window.leak || 'none');
)JS";
constexpr int kHostileResults = 16;

const char kWorkerScript[] =
    "fetch('../secret/secret.txt').then(r => r.text()).then(t => postMessage(t),"
    " e => postMessage('refused'));\n";

// A page folder with hostile.html and its helpers, beside the secret folder.
QString WriteHostileFolder() {
    static int n = 0;
    const QString secret = SecretFolder();
    const QString folder = TestHome().path() + QStringLiteral("/hostile%1").arg(++n);
    WriteFile(folder + "/inside.txt", "INSIDE\n");
    WritePng(folder + "/inside.png");
    WriteFile(folder + "/w.js", kWorkerScript);
    WriteFile(folder + "/sub/empty.txt", "");
    WriteFile(folder + "/opener.html", "<html><body>opener</body></html>");
    const QString script = QString::fromLatin1(kHostileScript).arg(FileUrl(secret + "/secret.txt"));
    WriteFile(folder + "/hostile.html",
              ("<html><head><title>hostile</title><script src='../secret/secret.js'></script>"
               "</head><body><div id='r'></div><script>" +
               script + "</script></body></html>")
                  .toUtf8());
    QFile::link(secret + "/secret.txt", folder + "/link.txt");
    return folder;
}

// The results of the hostile page once every try has ended.
QJsonObject HostileResults(QWebEnginePage* page) {
    QElapsedTimer timer;
    timer.start();
    QJsonObject results;
    while (timer.elapsed() < 20000) {
        const QString text =
            RunScript(page, "(document.getElementById('r') || {}).textContent").toString();
        results = QJsonDocument::fromJson(text.toUtf8()).object();
        if (results.size() >= kHostileResults) break;
        QTest::qWait(20);
    }
    return results;
}

// Checks that every try on a file outside the folder was refused and the tries inside worked.
void VerifyOnlyInsideRead(const QJsonObject& results) {
    QCOMPARE(results.size(), kHostileResults);
    for (auto it = results.begin(); it != results.end(); ++it) {
        const QString value = it.value().toString();
        QVERIFY2(!value.contains(kSecret), qPrintable(it.key() + ": " + value));
        if (it.key().endsWith(" inside")) {
            QVERIFY2(value == "INSIDE" || value == "width 4", qPrintable(it.key() + ": " + value));
        } else if (it.key() != "script") {
            QVERIFY2(value == "refused", qPrintable(it.key() + ": " + value));
        }
    }
    QCOMPARE(results["script"].toString(), QStringLiteral("none"));
}

// A loopback HTTP server that answers every request with "ok" and counts its connections.
class CountingServer : public QTcpServer {
public:
    CountingServer() {
        connect(this, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket* socket = nextPendingConnection()) {
                ++connections;
                connect(socket, &QTcpSocket::readyRead, socket, [socket] {
                    socket->readAll();
                    socket->write(
                        "HTTP/1.1 200 OK\r\nAccess-Control-Allow-Origin: *\r\n"
                        "Content-Type: text/plain\r\nContent-Length: 2\r\nConnection: "
                        "close\r\n\r\nok");
                    socket->disconnectFromHost();
                });
                connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
        listen(QHostAddress::LocalHost, 0);
    }
    QString Url() const { return QStringLiteral("http://127.0.0.1:%1/").arg(serverPort()); }
    int connections = 0;
};

// A page folder with page.html, which shows an image and fetches a text from `server`; #r
// shows "ok" once the text came, "refused" when the fetch failed.
QString WriteOnlinePage(const CountingServer& server) {
    static int n = 0;
    const QString folder = TestHome().path() + QStringLiteral("/online%1").arg(++n);
    WriteFile(
        folder + "/page.html",
        ("<html><body><div id='r'></div><img src='" + server.Url() + "a.png'><script>fetch('" +
         server.Url() +
         "x').then(r => r.text()).then(t => document.getElementById('r').textContent = t,"
         " e => document.getElementById('r').textContent = 'refused');</script></body></html>")
            .toUtf8());
    WriteFile(folder + "/opener.html", "<html><body>opener</body></html>");
    return folder;
}

const char kResult[] = "(document.getElementById('r') || {}).textContent";

}  // namespace

class BrowserSecurityTest : public QObject {
    Q_OBJECT
private:
    QWebEngineProfile* profile_ = nullptr;

private slots:
    void initTestCase() { profile_ = StartTestProfile(); }
    void cleanupTestCase() { delete profile_; }

    void GuardResolvesLinksAndDotsBeforeComparing() {
        const QString folder = WriteHostileFolder();
        const QString secret = SecretFolder() + "/secret.txt";
        const QString alias = TestHome().path() + "/alias";
        QFile::link(folder, alias);             // the page folder reached through a link
        WriteFile(folder + "2/page.html", "");  // a sibling whose name extends the folder's
        PageFolderGuard guard(alias);
        const auto sub = Info::ResourceTypeSubResource;
        const auto link = Info::NavigationTypeLink;
        auto allows = [&](const QString& path) {
            return guard.Allows(QUrl::fromLocalFile(path), sub, link);
        };
        QVERIFY(allows(folder + "/inside.txt"));
        QVERIFY(allows(alias + "/sub/../inside.txt"));
        QVERIFY(!allows(folder + "/link.txt"));  // a link inside to a file outside
        QVERIFY(!allows(folder + "/sub/../../secret/secret.txt"));
        QVERIFY(!allows(folder + "2/page.html"));
        QVERIFY(allows(folder + "/missing/page.html"));  // a broken link fails as usual
        QVERIFY(!allows(folder + "2/missing.html"));
        QVERIFY(!allows(folder + "/missing/../../secret/secret.txt"));
        QVERIFY(!allows(secret));
        QVERIFY(!guard.Allows(QUrl("file://otherhost" + folder + "/inside.txt"), sub, link));

        // Top-level documents that the viewer opens may be anywhere; a page's own may not.
        const QUrl outside = QUrl::fromLocalFile(secret);
        const auto main = Info::ResourceTypeMainFrame;
        QVERIFY(guard.Allows(outside, main, Info::NavigationTypeTyped));
        QVERIFY(guard.Allows(outside, main, Info::NavigationTypeBackForward));
        QVERIFY(!guard.Allows(outside, main, link));
        QVERIFY(!guard.Allows(outside, main, Info::NavigationTypeOther));
        QVERIFY(!guard.Allows(outside, Info::ResourceTypeSubFrame, Info::NavigationTypeTyped));
        QVERIFY(!guard.AllowsNewWindow(outside));

        // Offline: network schemes only are refused.
        QVERIFY(guard.Allows(QUrl("https://example.org/"), sub, link));
        guard.SetOffline(true);
        QVERIFY(!guard.Allows(QUrl("https://example.org/"), sub, link));
        QVERIFY(!guard.Allows(QUrl("ws://example.org/"), sub, link));
        QVERIFY(!guard.Allows(QUrl("http://example.org/"), main, Info::NavigationTypeTyped));
        QVERIFY(guard.Allows(QUrl("data:text/plain,x"), sub, link));
        QVERIFY(allows(folder + "/inside.txt"));
    }

    void ProfileCheckKnowsTheFoldersOfLiveHosts() {
        // The check behind every page: a local file must lie in the folder of some host.
        ProfileGuard* guard = ProfileGuard::Of(*profile_);
        QVERIFY(guard);
        const QString a = WriteHostileFolder();
        const QString b = WriteHostileFolder();
        const QUrl inA = QUrl::fromLocalFile(a + "/inside.txt");
        const QUrl inB = QUrl::fromLocalFile(b + "/inside.txt");
        const auto frame = Info::ResourceTypeSubFrame;
        const auto other = Info::NavigationTypeOther;
        auto window = std::make_unique<BrowserWindow>(*profile_, a);
        QVERIFY(guard->Allows(inA, frame, other));
        QVERIFY(!guard->Allows(inB, frame, other));
        QVERIFY(!guard->Allows(QUrl::fromLocalFile(a + "/link.txt"), frame, other));
        QVERIFY(guard->Allows(inB, Info::ResourceTypeMainFrame, Info::NavigationTypeTyped));
        QVERIFY(guard->Allows(QUrl("https://example.org/"), frame, other));
        window.reset();
        QVERIFY(!guard->Allows(inA, frame, other));
    }

    void HostilePageReadsNothingOutsideItsFolder() {
        const QString folder = WriteHostileFolder();
        BrowserWindow window(*profile_, folder);
        QVERIFY(NavigateAndWait(*window.browser, FileUrl(folder + "/hostile.html")));
        VerifyOnlyInsideRead(HostileResults(window.browser->Page()));
    }

    void TheSamePageReadsWhatLiesInsideItsFolder() {
        // The control of the test above: with the secret inside the page folder, the same page
        // reads it, so the refusals above come from the folder rule.
        const QString folder = WriteHostileFolder();
        BrowserWindow window(*profile_, TestHome().path());
        QVERIFY(NavigateAndWait(*window.browser, FileUrl(folder + "/hostile.html")));
        const QJsonObject results = HostileResults(window.browser->Page());
        QCOMPARE(results["fetch outside"].toString(), QString::fromLatin1(kSecret));
        QCOMPARE(results["frame outside"].toString(), QString::fromLatin1(kSecret));
        QCOMPARE(results["script"].toString(), QString::fromLatin1(kSecret));
    }

    void PagesInNewWindowsKeepTheRule() {
        const QString folder = WriteHostileFolder();
        FramedWindow window(*profile_, folder, "opener.html");
        QVERIFY(window.loaded);
        TestFrame& frame = window.frame;
        CBrowserWnd& opener = window.Browser();

        // A window opened on a file outside the folder does not open at all.
        RunScript(opener.Page(), "window.open('../secret/secret.txt'); 0");
        RunScript(opener.Page(), "popup = window.open('hostile.html'); 0");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(1), 20000);
        CBrowserWnd& popup = *frame.windows[0]->browser;
        QTRY_VERIFY_WITH_TIMEOUT(SameFile(popup.CurrentURL(), folder + "/hostile.html"), 20000);
        VerifyOnlyInsideRead(HostileResults(popup.Page()));
        QCOMPARE(frame.windows.size(), size_t(1));

        // The opener sends its window to the secret and reads the document there: refused.
        QSignalSpy complete(&popup, &CBrowserWnd::BWN_DOCUMENTCOMPLETE);
        RunScript(opener.Page(), "popup.location.href = '../secret/secret.txt'; 0");
        QVERIFY(complete.wait(20000));
        const QString read =
            RunScript(opener.Page(),
                      "(function () { try { return popup.document.body.innerText; }"
                      " catch (e) { return 'refused'; } })()")
                .toString();
        QVERIFY2(!read.contains(kSecret), qPrintable(read));
    }

    void EmptyNewWindowWrittenAtOnceKeepsTheRule() {
        // The opener writes into a new empty window at once, before the viewer may have taken
        // the window over: a frame and a fetch of the secret from there.
        const QString folder = WriteHostileFolder();
        FramedWindow window(*profile_, folder, "opener.html");
        QVERIFY(window.loaded);
        TestFrame& frame = window.frame;
        CBrowserWnd& opener = window.Browser();
        RunScript(opener.Page(),
                  "early = {}; blank = window.open('', 'blank');"
                  "blank.document.write(\"<iframe id='f' src='../secret/secret.txt'></iframe>\");"
                  "blank.document.close();"
                  "var f = blank.document.getElementById('f');"
                  "f.onload = () => { try { early.frame = f.contentDocument.body.innerText; }"
                  " catch (e) { early.frame = 'refused'; } };"
                  "blank.fetch('../secret/secret.txt').then(r => r.text())"
                  ".then(t => early.fetch = t, e => early.fetch = 'refused'); 0");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(1), 20000);
        QCOMPARE(WaitForScript(opener.Page(), "early.fetch", "refused"), QStringLiteral("refused"));
        const QString early = WaitForScript(opener.Page(), "early.frame", "refused");
        QVERIFY2(!early.contains(kSecret), qPrintable(early));
    }

    void OfflineModeRequestsNothingFromTheNetwork() {
        CountingServer server;
        QVERIFY(server.isListening());
        const QString folder = WriteOnlinePage(server);
        BrowserWindow window(*profile_, folder);
        CBrowserWnd& browser = *window.browser;
        QVERIFY(!browser.IsOffline());
        browser.SetOffline(true);
        QVERIFY(browser.IsOffline());
        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/page.html")));
        const QString result = kResult;
        QCOMPARE(WaitForScript(browser.Page(), result, "refused"), QStringLiteral("refused"));
        QVERIFY(NavigateAndWait(browser, server.Url()));  // the viewer's own navigation too
        QCOMPARE(server.connections, 0);

        browser.SetOffline(false);
        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/page.html")));
        QCOMPARE(WaitForScript(browser.Page(), result, "ok"), QStringLiteral("ok"));
        QVERIFY(server.connections > 0);
    }

    void OfflineModeHoldsForAWindowThatAPageOpened() {
        CountingServer server;
        const QString folder = WriteOnlinePage(server);
        FramedWindow window(*profile_, folder, "opener.html");
        QVERIFY(window.loaded);
        TestFrame& frame = window.frame;
        frame.offline = true;
        RunScript(window.Browser().Page(), "window.open('page.html'); 0");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(1), 20000);
        QCOMPARE(WaitForScript(frame.windows[0]->browser->Page(), kResult, "refused"),
                 QStringLiteral("refused"));
        QCOMPARE(server.connections, 0);
    }
};

KESTROVA_SHELL_TEST_MAIN(BrowserSecurityTest)
#include "browser_security_test.moc"
