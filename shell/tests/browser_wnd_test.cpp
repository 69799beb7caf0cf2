// The browser host on the real Qt WebEngine: navigation and its notifications, titles, new
// windows through the frame, the frames list of a framed page, and the profile.
#include "shell/browser/browser_wnd.h"
#include "shell/browser/web_profile.h"
#include "shell/tests/browser_test_support.h"
#include "shell/tests/shell_test_support.h"

#include <QDir>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWebEngineProfile>

#include <csignal>
#include <memory>

using namespace kestrova;
using namespace kestrova::test;

namespace {

// A folder of three small pages: a.html and b.html with titles, b.html with links that ask
// for new windows.
QString WritePages() {
    static int n = 0;
    const QString folder = TestHome().path() + QStringLiteral("/pages%1").arg(++n);
    WriteFile(folder + "/a.html", "<html><head><title>Первая</title></head><body>A</body></html>");
    WriteFile(folder + "/b.html",
              "<html><head><title>Вторая</title></head><body>B "
              "<a id='blank' href='a.html' target='_blank'>a</a> "
              "<a id='own' href='c.html' target='elsewhere'>c</a></body></html>");
    WriteFile(folder + "/c.html", "<html><head><title>Третья</title></head><body>C</body></html>");
    return folder;
}

bool HasState(const QSignalSpy& spy, int command, bool enable) {
    for (const QList<QVariant>& args : spy) {
        if (args[0].toInt() == command && args[1].toBool() == enable) return true;
    }
    return false;
}

}  // namespace

class BrowserWndTest : public QObject {
    Q_OBJECT
private:
    QWebEngineProfile* profile_ = nullptr;

private slots:
    void initTestCase() { profile_ = StartTestProfile(); }
    void cleanupTestCase() { delete profile_; }

    void ProfileKeepsItsDataInTheBaseFolderAndOnlyOnce() {
        const QString base = qEnvironmentVariable("XDG_DATA_HOME") + "/Kestrova/browser";
        QVERIFY(!profile_->isOffTheRecord());
        QCOMPARE(profile_->persistentStoragePath(), base);
        QVERIFY(profile_->cachePath().startsWith(base + "/"));
        // A second profile on the same folder (another viewer process) keeps its data in memory
        // instead of sharing Chromium's stores.
        std::unique_ptr<QWebEngineProfile> second(CreateWebProfile(nullptr));
        QVERIFY(second->isOffTheRecord());
    }

    void NavigationReportsUrlTitleAndCompletion() {
        const QString folder = WritePages();
        TestFrame frame(*profile_, folder);
        BrowserWindow window(*profile_, folder);
        CBrowserWnd& browser = *window.browser;
        QCOMPARE(browser.objectName(), QStringLiteral("browser"));
        browser.SetFrame(&frame);

        QSignalSpy complete(&browser, &CBrowserWnd::BWN_DOCUMENTCOMPLETE);
        QVERIFY(browser.Navigate(FileUrl(folder + "/a.html")));
        QVERIFY(complete.wait(20000));
        QVERIFY(SameFile(complete.last()[0].toString(), folder + "/a.html"));
        QVERIFY(SameFile(browser.CurrentURL(), folder + "/a.html"));
        QCOMPARE(browser.CurrentTitle(), QStringLiteral("Первая"));
        QTRY_VERIFY(frame.titles.contains(QStringLiteral("Первая")));

        // A plain absolute path is taken as the file it names; nothing at all is about:blank.
        QVERIFY(NavigateAndWait(browser, folder + "/c.html"));
        QCOMPARE(browser.CurrentTitle(), QStringLiteral("Третья"));
        QVERIFY(NavigateAndWait(browser, QString()));
        QCOMPARE(browser.CurrentURL(), QStringLiteral("about:blank"));
    }

    void BackAndForwardReportTheirAvailability() {
        const QString folder = WritePages();
        BrowserWindow window(*profile_, folder);
        CBrowserWnd& browser = *window.browser;
        QSignalSpy state(&browser, &CBrowserWnd::BWN_COMMANDSTATE);
        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/a.html")));
        QVERIFY(!HasState(state, kBrowserCommandBack, true));
        QVERIFY(HasState(state, kBrowserCommandAll, true));

        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/b.html")));
        QTRY_VERIFY(HasState(state, kBrowserCommandBack, true));
        state.clear();

        QSignalSpy complete(&browser, &CBrowserWnd::BWN_DOCUMENTCOMPLETE);
        browser.Back();
        QVERIFY(complete.wait(20000));
        QCOMPARE(browser.CurrentTitle(), QStringLiteral("Первая"));
        QTRY_VERIFY(HasState(state, kBrowserCommandForward, true));
        QTRY_VERIFY(HasState(state, kBrowserCommandBack, false));
        state.clear();

        browser.Forward();
        QVERIFY(complete.wait(20000));
        QCOMPARE(browser.CurrentTitle(), QStringLiteral("Вторая"));
        QTRY_VERIFY(HasState(state, kBrowserCommandForward, false));
        QTRY_VERIFY(HasState(state, kBrowserCommandBack, true));

        complete.clear();
        browser.Reload();
        QVERIFY(complete.wait(20000));
        QVERIFY(SameFile(complete.last()[0].toString(), folder + "/b.html"));
    }

    void PagesAskingForWindowsOpenInNewNavigatorWindows() {
        const QString folder = WritePages();
        FramedWindow window(*profile_, folder, "b.html");
        QVERIFY(window.loaded);
        TestFrame& frame = window.frame;
        CBrowserWnd& browser = window.Browser();

        RunScript(browser.Page(), "document.getElementById('blank').click()");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(1), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows[0]->browser->CurrentTitle(),
                                  QStringLiteral("Первая"), 20000);

        RunScript(browser.Page(), "document.getElementById('own').click()");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(2), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows[1]->browser->CurrentTitle(),
                                  QStringLiteral("Третья"), 20000);

        // A script's window lives in a new window too, and the opener keeps its page.
        RunScript(browser.Page(), "window.open('a.html', 'named'); 0");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(3), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(
            SameFile(frame.windows[2]->browser->CurrentURL(), folder + "/a.html"), 20000);
        QCOMPARE(browser.CurrentTitle(), QStringLiteral("Вторая"));

        // Without a frame no window opens and the page stays.
        browser.SetFrame(nullptr);
        RunScript(browser.Page(), "document.getElementById('blank').click()");
        QCOMPARE(RunScript(browser.Page(), "document.title").toString(), QStringLiteral("Вторая"));
        QCOMPARE(frame.windows.size(), size_t(3));
    }

    void FramedPageListsItsFramesMostRecentFirst() {
        const QString kb = CopySampleKb();
        FramedWindow window(*profile_, kb, "frames.html");
        QVERIFY(window.loaded);
        TestFrame& frame = window.frame;
        CBrowserWnd& browser = window.Browser();
        QTRY_COMPARE_WITH_TIMEOUT(browser.Frames().size(), size_t(2), 20000);
        // Both frames show their pages.
        QCOMPARE(WaitForScript(browser.Page(), "frames[0].document.querySelector('h1').textContent",
                               "Перечень сравниваемых требований"),
                 QStringLiteral("Перечень сравниваемых требований"));

        // The list's link into the text frame: that frame becomes the most recent.
        RunScript(browser.Page(), "frames[0].document.querySelectorAll('a')[2].click()");
        QTRY_VERIFY_WITH_TIMEOUT(browser.Frames().front().url.endsWith("electrical-1990.html"),
                                 20000);
        std::vector<FrameEntry> frames = browser.Frames();
        QCOMPARE(frames.size(), size_t(2));
        QCOMPARE(frames[0].name, QStringLiteral("text"));
        QCOMPARE(frames[1].name, QStringLiteral("list"));
        QVERIFY(frames[0].tick >= frames[1].tick);
        QVERIFY(SameFile(frames[1].url, kb + "/frames/list.html"));

        // A move within a frame's document counts as a navigation of that frame. A page's
        // console line that looks like a report (without the secret) adds nothing.
        RunScript(browser.Page(),
                  "console.log('kestrova-frame 0 [\"evil\",\"file:///etc/passwd\"]');"
                  "frames[0].location.hash = 'top'; 0");
        QTRY_COMPARE_WITH_TIMEOUT(browser.Frames().front().name, QStringLiteral("list"), 20000);
        QVERIFY(browser.Frames().front().url.endsWith("list.html#top"));
        QCOMPARE(browser.Frames().size(), size_t(2));
        RunScript(browser.Page(), "frames[1].location.hash = 'ground'; 0");
        QTRY_COMPARE_WITH_TIMEOUT(browser.Frames().front().name, QStringLiteral("text"), 20000);

        // Open in new window takes the most recently navigated frame's page.
        browser.OpenInNewWindow();
        QCOMPARE(frame.windows.size(), size_t(1));
        QTRY_VERIFY_WITH_TIMEOUT(SameFile(frame.windows[0]->browser->CurrentURL(),
                                          kb + "/archive/gost-1990/electrical-1990.html"),
                                 20000);

        // A top-level navigation forgets the frames; a page without frames then opens itself.
        QVERIFY(NavigateAndWait(browser, FileUrl(kb + "/about.html")));
        QVERIFY(browser.Frames().empty());
        browser.OpenInNewWindow();
        QCOMPARE(frame.windows.size(), size_t(2));
        QTRY_VERIFY_WITH_TIMEOUT(
            SameFile(frame.windows[1]->browser->CurrentURL(), kb + "/about.html"), 20000);

        // A framed page that a page opens in a new window lists its frames there.
        RunScript(browser.Page(), "window.open('frames.html'); 0");
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows.size(), size_t(3), 20000);
        QTRY_COMPARE_WITH_TIMEOUT(frame.windows[2]->browser->Frames().size(), size_t(2), 20000);
    }

    void HighlightRecordIsKeptForTheSameFile() {
        const QString folder = WritePages();
        BrowserWindow window(*profile_, folder);
        CBrowserWnd& browser = *window.browser;
        HighlightRecord record{FileUrl(folder + "/a.html") + "#part", "договор", true, true};
        browser.SetHighlight(record);
        QVERIFY(browser.IsHighlightFor(folder + "/a.html"));
        QVERIFY(!browser.IsHighlightFor(folder + "/b.html"));
        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/a.html")));
        QVERIFY(browser.IsHighlightFor(browser.CurrentURL()));
        QVERIFY(browser.IsHighlightShown());  // a record to highlight at once
        browser.RemoveHighlighting();
        QVERIFY(!browser.IsHighlightShown());
        QCOMPARE(browser.Highlight()->query, QStringLiteral("договор"));
        browser.ClearHighlight();
        QVERIFY(!browser.Highlight());
        QVERIFY(!browser.IsHighlightFor(folder + "/a.html"));
    }

    void SameFileComparesNormalisedPathsExactly() {
        QVERIFY(SameFile("file:///kb/law/a.html#sec", "/kb/law/a.html"));
        QVERIFY(SameFile("/kb/./law/../law/a.html", "file://localhost/kb/law/a.html"));
        QVERIFY(SameFile("file:///kb/a%20b.html", "/kb/a b.html#x"));
        QVERIFY(SameFile("file:///kb/a%23b.html#x", "/kb/a#b.html#x"));  // cut at the last '#'
        QVERIFY(!SameFile("/kb/a.html#x#y", "/kb/a.html"));
        QVERIFY(SameFile("file:///kb/%D0%B0.html", "/kb/а.html"));
        QVERIFY(!SameFile("/kb/A.html", "/kb/a.html"));             // letter case counts
        QVERIFY(!SameFile("file:///kb/a%23b.html", "/kb/a.html"));  // an escaped '#' is a name
        QVERIFY(!SameFile("http://host/kb/a.html", "/kb/a.html"));
        QVERIFY(!SameFile("about:blank", "about:blank"));
        QVERIFY(!SameFile(QString(), QString()));
    }

    void DeletingTheHostEndsItsRenderer() {
        const QString folder = WritePages();
        auto window = std::make_unique<BrowserWindow>(*profile_, folder);
        QVERIFY(NavigateAndWait(*window->browser, FileUrl(folder + "/a.html")));
        const qint64 pid = window->browser->Page()->renderProcessPid();
        QVERIFY(pid > 0);
        window.reset();
        QTRY_VERIFY_WITH_TIMEOUT(!QDir(QStringLiteral("/proc/%1").arg(pid)).exists(), 20000);
    }
};

KESTROVA_SHELL_TEST_MAIN(BrowserWndTest)
#include "browser_wnd_test.moc"
