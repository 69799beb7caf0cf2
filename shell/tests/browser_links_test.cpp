// Command links in the real viewer: every link of the sample's page of command links does what
// its command says, the same links in a page of another folder do nothing, and programs are
// handed to stand-ins of the desktop's default application, editor and print service (first
// on PATH), which record what they were given.
#include "model/content.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/dialogs/select_frame_dlg.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/tests/browser_test_support.h"
#include "shell/tests/shell_test_support.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEngineView>

#include <memory>

using namespace kestrova;
using namespace kestrova::test;

namespace {

constexpr int kWait = 30000;

QString Records() { return TestHome().path() + "/records"; }

// The lines that the stand-in `name` recorded, one per run: its arguments joined by '|'.
QStringList Recorded(const QString& name) {
    QFile file(Records() + "/" + name);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

void WriteStandIn(const QString& bin, const QString& name) {
    const QString path = bin + "/" + name;
    WriteFile(path,
              QStringLiteral("#!/bin/sh\nline=''\nfor a in \"$@\"; do line=\"$line$a|\"; done\n"
                             "printf '%s\\n' \"$line\" >> '%1/%2'\n")
                  .arg(Records(), name)
                  .toUtf8());
    QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
}

bool Shows(CBrowserWnd& browser, const QString& path) {
    return QUrl(browser.CurrentURL()).toLocalFile() == path && !browser.CurrentTitle().isEmpty();
}

// Shows the local page `path` and waits until its document is the page's and complete (a
// document complete of the page before may still be on its way when the navigation starts).
bool Open(CBrowserWnd& browser, const QString& path) {
    browser.Navigate(FileUrl(path));
    const QString state = path + " complete";
    return WaitForScript(browser.Page(),
                         "decodeURIComponent(location.pathname) + ' ' + document.readyState",
                         state) == state;
}

// Clicks with the mouse the link whose href is written exactly `href` (the browser follows a
// link of a scheme of its own only on the user's gesture) and waits until the browser host has
// seen the command link; returns whether it was obeyed (false also when none came).
bool Click(CBrowserWnd& browser, const QString& href, bool expectLink = true) {
    QSignalSpy followed(&browser, &CBrowserWnd::CommandLinkFollowed);
    const QString script = QStringLiteral(
        "(function(){var h=%1;var a=Array.from(document.querySelectorAll('a'))"
        ".find(function(x){return x.getAttribute('href')===h;});"
        "if(!a)return [];a.scrollIntoView({block:'center'});var r=a.getClientRects()[0];"
        "return [r.left+Math.min(r.width/2,10),r.top+r.height/2];})()");
    QString quoted = href;
    quoted.replace('\\', "\\\\").replace('\'', "\\'");
    QVariantList at;
    QElapsedTimer timer;
    timer.start();
    while (at.size() != 2 && timer.elapsed() < kWait) {
        at = RunScript(browser.Page(), script.arg("'" + quoted + "'")).toList();
        if (at.size() != 2) QTest::qWait(20);
    }
    if (at.size() != 2) {
        qWarning("no link %s", qPrintable(href));
        return false;
    }
    QWidget* target = browser.View()->focusProxy() ? browser.View()->focusProxy() : browser.View();
    const QPoint point(qRound(at[0].toDouble()), qRound(at[1].toDouble()));
    // The browser drops input until a new page has been painted: the mouse moves over the
    // link until the page reports a move, then clicks.
    RunScript(browser.Page(),
              "window.__moves = 0; document.addEventListener('mousemove', "
              "function () { window.__moves += 1; }, true); 0");
    timer.restart();
    for (int i = 0; RunScript(browser.Page(), "window.__moves").toInt() == 0; ++i) {
        if (timer.elapsed() > kWait) return false;
        QTest::mouseMove(target, point + QPoint(i % 2, 0));
        QTest::qWait(20);
    }
    QTest::mouseClick(target, Qt::LeftButton, {}, point);
    if (!expectLink) return false;
    if (followed.isEmpty() && !followed.wait(kWait)) {
        qWarning("no command link came from %s", qPrintable(href));
        return false;
    }
    return followed.front().at(1).toBool();
}

}  // namespace

class BrowserLinksTest : public QObject {
    Q_OBJECT
private slots:
    void ACommandLinkAsTheStartPageLeadsNowhere() {
        // "home" and "search" go to the start page: one that is "home" itself must not loop.
        const QString kb = CopySampleKb();
        for (const char* start : {"cmd:home", "cmd:search"}) {
            auto viewer = test::StartViewer(kb, {start});
            QVERIFY(viewer);
            QTRY_VERIFY_WITH_TIMEOUT(viewer->Nav().ShownModel(), kWait);
            QVERIFY(!viewer->Browser().CurrentURL().startsWith("cmd:"));
        }
    }

    void initTestCase() {
        const QString bin = TestHome().path() + "/bin";
        QDir().mkpath(bin);
        QDir().mkpath(Records());
        for (const char* name : {"xdg-open", "lp", "editor"}) WriteStandIn(bin, name);
        qputenv("PATH", (bin + ":" + qEnvironmentVariable("PATH")).toUtf8());
        qputenv("VISUAL", (bin + "/editor").toUtf8());
    }

    void EveryLinkOfTheSamplePageDoesWhatItSays() {
        const QString kb = CopySampleKb();
        auto viewer = test::StartViewer(kb, {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        CBrowserWnd& browser = viewer->Browser();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        const QString start = kb + "/index-law.html", help = kb + "/help-navigation.html";
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, start), kWait);
        QVERIFY(Open(browser, help));
        QVERIFY(
            RunScript(browser.Page(), "document.cookie").toString().contains("cmd_receiver=KSV"));

        // The panes.
        nav.Tabs()->SelectTab(kTabIndex);
        QVERIFY(Click(browser, "cmd:content"));
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabContents));
        QVERIFY(Click(browser, "cmd:index"));
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabIndex));
        QVERIFY(Click(browser, "cmd:findcont"));
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabContents));
        IContentNode* node = nav.Tabs()->Contents()->SelectedNode();
        QVERIFY(node && node->GetTopic());
        QCOMPARE(QString::fromUtf16(node->GetTopic()->GetPage()->GetPath()),
                 QStringLiteral("help-navigation.html"));

        // Names in another letter case, an unclosed parenthesis, and the prefix in capitals.
        QVERIFY(Click(browser, "cmd:Back"));  // obeyed as a link, but no command
        QVERIFY(Click(browser, "cmd:exec(ref/forms/application-form.txt"));
        Click(browser, "CMD:back", false);
        QVERIFY(Click(browser, "cmd:index"));  // after the above in the page's order
        QVERIFY(Shows(browser, help));
        QVERIFY(Recorded("xdg-open").isEmpty());

        // Programs: open (three spellings), edit and print of the form beside the page.
        const QString form = kb + "/ref/forms/application-form.txt";
        for (const char* href :
             {"cmd:exec:ref/forms/application-form.txt", "cmd:exec(ref/forms/application-form.txt)",
              "cmd:exec%3Aref/forms/application-form.txt"}) {
            QVERIFY(Click(browser, href));
        }
        QVERIFY(Click(browser, "cmd:exec( ref/forms/application-form.txt , edit )"));
        QVERIFY(Click(browser, "cmd:exec(ref/forms/application-form.txt, print)"));
        QTRY_COMPARE_WITH_TIMEOUT(Recorded("xdg-open").size(), 3, kWait);
        for (const QString& line : Recorded("xdg-open")) QCOMPARE(line, FileUrl(form) + "|");
        QTRY_COMPARE_WITH_TIMEOUT(Recorded("editor"), QStringList{form + "|"}, kWait);
        QTRY_COMPARE_WITH_TIMEOUT(Recorded("lp"), QStringList{"--|" + form + "|"}, kWait);
        QVERIFY(Shows(browser, help));

        // History and the start page.
        QVERIFY(Click(browser, "cmd:back"));
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, start), kWait);
        QVERIFY(Open(browser, help));
        QVERIFY(Open(browser, kb + "/about.html"));
        browser.Back();
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, help), kWait);
        QVERIFY(Click(browser, "cmd:forward"));
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, kb + "/about.html"), kWait);
        QVERIFY(Open(browser, help));
        QVERIFY(Click(browser, "cmd:home"));
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, start), kWait);
        QVERIFY(Open(browser, help));
        QVERIFY(Click(browser, "cmd:search"));
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, start), kWait);

        QVERIFY(Open(browser, help));
        QVERIFY(Click(browser, "cmd:new_window"));
        QTRY_COMPARE_WITH_TIMEOUT(viewer->app->Frames().size(), size_t(2), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(Shows(*viewer->Nav(1).Browser(), help), kWait);
    }

    void TheSameLinksInAPageOfAnotherFolderDoNothing() {
        const QString kb = CopySampleKb();
        auto viewer = test::StartViewer(kb, {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        CBrowserWnd& browser = viewer->Browser();
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, kb + "/index-law.html"), kWait);
        const QString other = TestHome().path() + "/other";
        QDir().mkpath(other + "/ref/forms");
        QFile::copy(kb + "/help-navigation.html", other + "/help-navigation.html");
        QFile::copy(kb + "/ref/forms/application-form.txt",
                    other + "/ref/forms/application-form.txt");
        const QString page = other + "/help-navigation.html";
        QVERIFY(Open(browser, page));
        const int recorded =
            Recorded("xdg-open").size() + Recorded("editor").size() + Recorded("lp").size();
        nav.Tabs()->SelectTab(kTabIndex);
        for (const char* href :
             {"cmd:content", "cmd:findcont", "cmd:home", "cmd:search", "cmd:new_window", "cmd:back",
              "cmd:exec:ref/forms/application-form.txt",
              "cmd:exec( ref/forms/application-form.txt , edit )",
              "cmd:exec(ref/forms/application-form.txt, print)"}) {
            QSignalSpy followed(&browser, &CBrowserWnd::CommandLinkFollowed);
            QVERIFY2(!Click(browser, href), href);
            QCOMPARE(followed.size(), 1);  // seen, and refused
        }
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabIndex));
        QVERIFY(Shows(browser, page));
        QCOMPARE(viewer->app->Frames().size(), size_t(1));
        // A program that did start would have recorded by the time a later one does.
        QVERIFY(Open(browser, kb + "/help-navigation.html"));
        QVERIFY(Click(browser, "cmd:exec:ref/forms/application-form.txt"));
        QTRY_COMPARE_WITH_TIMEOUT(
            Recorded("xdg-open").size() + Recorded("editor").size() + Recorded("lp").size(),
            recorded + 1, kWait);
        QCOMPARE(Recorded("xdg-open").constLast(),
                 FileUrl(kb + "/ref/forms/application-form.txt") + "|");
    }

    void ALinkWhoseClickThePageCancelsRunsNothingAndAFramedPageAsksForItsFrame() {
        const QString kb = CopySampleKb();
        WriteFile(kb + "/cancelled.html",
                  "<html><body><p><a href='cmd:content' onclick='return false'>no</a></p>"
                  "<p><a href='cmd:index'>yes</a></p></body></html>");
        auto viewer = test::StartViewer(kb, {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        CBrowserWnd& browser = viewer->Browser();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        QVERIFY(Open(browser, kb + "/cancelled.html"));
        nav.Tabs()->SelectTab(kTabFavorites);
        QSignalSpy followed(&browser, &CBrowserWnd::CommandLinkFollowed);
        Click(browser, "cmd:content", false);
        QVERIFY(Click(browser, "cmd:index"));
        QCOMPARE(followed.size(), 1);
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabIndex));

        // Finding a framed page in the contents asks which of its documents.
        QVERIFY(Open(browser, kb + "/frames.html"));
        QTRY_COMPARE_WITH_TIMEOUT(browser.Frames().size(), size_t(2), kWait);
        int rows = 0;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<CSelectFrameDlg*>(QApplication::activeModalWidget());
            if (!dialog) return;
            rows = dialog->List()->topLevelItemCount();
            for (int i = 0; i < rows; ++i) {
                QTreeWidgetItem* row = dialog->List()->topLevelItem(i);
                row->setSelected(row->text(0) == "text");
            }
            dialog->accept();
        });
        nav.OnCommand(ID_FIND_IN_CONTENTS);
        QCOMPARE(rows, 3);
        IContentNode* node = nav.Tabs()->Contents()->SelectedNode();
        QVERIFY(node && node->GetTopic());
        QCOMPARE(QString::fromUtf16(node->GetTopic()->GetPage()->GetPath()),
                 QStringLiteral("frames\\norms-2020.html"));
    }

    void OnlyExecutablesOfThePageFolderRunWithTheirArgumentsAsAList() {
        const QString kb = CopySampleKb();
        const QString outside = TestHome().path() + "/outside-programs";
        auto program = [](const QString& path, const QString& marker) {
            WriteFile(path, QStringLiteral("#!/bin/sh\nline=''\nfor a in \"$@\"; do "
                                           "line=\"$line$a|\"; done\nprintf '%s\\n' \"$line\" "
                                           ">> '%1'\n")
                                .arg(marker)
                                .toUtf8());
            QFile::setPermissions(path, QFile::permissions(path) | QFile::ExeOwner);
        };
        const QString ran = Records() + "/inside-ran", evil = Records() + "/outside-ran";
        program(kb + "/tools/run.sh", ran);
        program(outside + "/evil.sh", evil);
        WriteFile(kb + "/programs.html",
                  QStringLiteral("<html><body>"
                                 "<a href=\"cmd:exec:%1\">outside</a>"
                                 "<a href='cmd:exec(tools/run.sh \"a b\" ;touch $HOME/x)'>in</a>"
                                 "</body></html>")
                      .arg(outside + "/evil.sh")
                      .toUtf8());
        auto viewer = test::StartViewer(kb, {"index-law.html"});
        QVERIFY(viewer);
        CBrowserWnd& browser = viewer->Browser();
        QTRY_VERIFY_WITH_TIMEOUT(Shows(browser, kb + "/index-law.html"), kWait);
        QVERIFY(Open(browser, kb + "/programs.html"));
        QVERIFY(Click(browser, "cmd:exec:" + outside + "/evil.sh"));
        QVERIFY(Click(browser, "cmd:exec(tools/run.sh \"a b\" ;touch $HOME/x)"));
        // The file may be there a moment before its line is.
        const auto recorded = [&] {
            QFile file(ran);
            return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
        };
        QTRY_COMPARE_WITH_TIMEOUT(recorded(), QByteArray("a b|;touch|$HOME/x|\n"), kWait);
        QVERIFY(!QFile::exists(evil));
    }
};

KESTROVA_SHELL_TEST_MAIN(BrowserLinksTest)
#include "browser_links_test.moc"
