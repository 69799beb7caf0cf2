// Highlighting the words of a search in the page shown: exact and related word sets, the
// whole-word rule, the look of the marks, removal, cancelling part-way, and in the real viewer
// the page size below which a result page is highlighted at once.
#include "exec/sync_wait.h"
#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/browser/browser_wnd.h"
#include "shell/browser/highlighter.h"
#include "shell/commands.h"
#include "shell/dialogs/wait_dlg.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"
#include "shell/panes/result_pane.h"
#include "shell/tests/browser_test_support.h"
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QWebEngineProfile>

#include <memory>

using namespace kestrova;
using namespace kestrova::test;

namespace {

constexpr int kWait = 30000;

const char kMarks[] =
    "Array.from(document.querySelectorAll('span.kestrova-highlight'))"
    ".map(function(s){return s.textContent;}).join(',')";
const char kMarkCount[] = "document.querySelectorAll('span.kestrova-highlight').length";

// Words that share the letters of "договор" in every way the rules tell apart.
const QByteArray kWordsPage =
    "<html><head><meta charset='utf-8'></head><body>"
    "<p>Договор и договора. ДОГОВОР, договоры; переДоговор договор_1 _договор договорx "
    "x-договор-y дого<b>вор</b></p><p>договор</p><p>договор</p>"
    "<script>var договор = 1;</script></body></html>";

// Highlights `query` in the page of `browser` and waits for the end.
bool HighlightAndWait(CBrowserWnd& browser, const QString& query, bool related) {
    HighlightRecord record;
    record.url = browser.CurrentURL();
    record.query = query;
    record.relatedWords = related;
    browser.SetHighlight(record);
    QSignalSpy finished(&browser, &CBrowserWnd::HighlightFinished);
    browser.HighlightNow(std::make_shared<DummySyncWait>());
    return (!finished.isEmpty() || finished.wait(kWait)) && finished.front().at(0).toBool();
}

// Gives up after a number of questions.
class CountingWait : public ISyncWait {
public:
    explicit CountingWait(int answers) : answers_(answers) {}
    bool ContinueWaiting() override { return ++asked <= answers_; }
    int asked = 0;

private:
    int answers_;
};

}  // namespace

class BrowserHighlightTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { profile_.reset(StartTestProfile()); }
    void cleanupTestCase() { profile_.reset(); }

    void ExactWordsAreMarkedWholeAndRemovedWithoutTrace() {
        const QString folder = TestHome().path() + "/words";
        WriteFile(folder + "/page.html", kWordsPage);
        BrowserWindow window(*profile_, folder);
        CBrowserWnd& browser = *window.browser;
        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/page.html")));
        const QString before = RunScript(browser.Page(), "document.body.innerHTML").toString();

        QVERIFY(HighlightAndWait(browser, "ДОГОВОР", false));
        QCOMPARE(RunScript(browser.Page(), kMarks).toString(),
                 QStringLiteral("Договор,ДОГОВОР,договор,дого,вор,договор,договор"));
        QVERIFY(browser.IsHighlightShown());
        QCOMPARE(RunScript(browser.Page(),
                           "var s=getComputedStyle(document.querySelector('span.kestrova-"
                           "highlight'));s.backgroundColor+' '+s.color")
                     .toString(),
                 QStringLiteral("rgb(255, 255, 0) rgb(0, 0, 0)"));

        browser.RemoveHighlighting();
        QVERIFY(!browser.IsHighlightShown());
        QCOMPARE(WaitForScript(browser.Page(), kMarkCount, "0"), QStringLiteral("0"));
        QCOMPARE(RunScript(browser.Page(), "document.body.innerHTML").toString(), before);

        // A word with '_' at an end is still a whole word of its own.
        QVERIFY(HighlightAndWait(browser, "договор_1 и _договор", false));
        QCOMPARE(RunScript(browser.Page(), kMarks).toString(),
                 QStringLiteral("и,договор_1,_договор"));
    }

    void RelatedWordsMarkEveryFormOfTheQueryWords() {
        const QString folder = TestHome().path() + "/related";
        WriteFile(folder + "/page.html", kWordsPage);
        BrowserWindow window(*profile_, folder);
        CBrowserWnd& browser = *window.browser;
        QVERIFY(NavigateAndWait(browser, FileUrl(folder + "/page.html")));
        QVERIFY(HighlightAndWait(browser, "договором", true));
        const QStringList marks = RunScript(browser.Page(), kMarks).toString().split(',');
        QVERIFY2(marks.contains("Договор") && marks.contains("договора") &&
                     marks.contains("ДОГОВОР") && marks.contains("договоры"),
                 qPrintable(marks.join(',')));
        for (const char* never : {"договор_1", "_договор", "договорx", "переДоговор", "и"}) {
            QVERIFY2(!marks.contains(never), never);
        }
    }

    void CancellingPartWayRemovesWhatWasPlaced() {
        const QString folder = TestHome().path() + "/large";
        QByteArray page = "<html><head><meta charset='utf-8'></head><body>";
        for (int i = 0; i < 2000; ++i) page += "<p>Договор номер " + QByteArray::number(i) + "</p>";
        WriteFile(folder + "/page.html", page + "</body></html>");
        BrowserWindow window(*profile_, folder);
        QVERIFY(NavigateAndWait(*window.browser, FileUrl(folder + "/page.html")));
        QWebEnginePage* web = window.browser->Page();
        Highlighter highlighter(*web, nullptr);
        highlighter.SetChunkLimit(50);
        // Asked once after the words were read and before each chunk: the third chunk is
        // refused, so two chunks are in the page by then.
        auto wait = std::make_shared<CountingWait>(3);
        std::optional<bool> completed;
        highlighter.Start("договор", false, wait, [&](bool done, int) { completed = done; });
        QTRY_VERIFY_WITH_TIMEOUT(completed.has_value(), kWait);
        QVERIFY(!*completed);
        QVERIFY(wait->asked >= 4);
        QCOMPARE(WaitForScript(web, kMarkCount, "0"), QStringLiteral("0"));

        // Without a limit the same page is marked to the end.
        completed.reset();
        highlighter.Start("договор", false, std::make_shared<DummySyncWait>(),
                          [&](bool done, int) { completed = done; });
        QTRY_VERIFY_WITH_TIMEOUT(completed.has_value(), kWait);
        QVERIFY(*completed);
        QCOMPARE(RunScript(web, kMarkCount).toInt(), 2000);
    }

    void ResultPagesBelow51200BytesAreMarkedAtOnceLargerOnesOnRequest() {
        const QString kb = CopySampleKb();
        // Two pages with a word of their own, of 51,199 and 51,200 bytes.
        auto write = [&](const QString& name, const QByteArray& word, int size) {
            QByteArray page = "<html><head><meta charset='utf-8'><title>" + word +
                              "</title></head><body><p>" + word + " квазиформа</p><p>";
            const QByteArray end = "</p></body></html>";
            while (page.size() + end.size() < size) page += 'x';
            page += end;
            QCOMPARE(page.size(), size);
            WriteFile(kb + "/" + name, page);
        };
        write("small.html", "малоэкспонат", 51199);
        write("large.html", "великоэкспонат", 51200);
        auto viewer = StartViewer(kb, {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        CBrowserWnd& browser = *nav.Browser();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);

        auto search = [&](const QString& text, const QString& file) {
            nav.ToolBar()->SearchBox()->lineEdit()->setText(text);
            nav.OnCommand(ID_SEARCH);
            QCOMPARE(nav.Results()->Count(), 1);
            QTRY_VERIFY_WITH_TIMEOUT(QUrl(browser.CurrentURL()).toLocalFile().endsWith(file),
                                     kWait);
        };
        QSignalSpy finished(&browser, &CBrowserWnd::HighlightFinished);
        search("малоэкспонат", "/small.html");
        // The search waits for the page, and the marks may come with it.
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kWait);
        QCOMPARE(RunScript(browser.Page(), kMarks).toString(), QStringLiteral("малоэкспонат"));

        QSignalSpy complete(&browser, &CBrowserWnd::BWN_DOCUMENTCOMPLETE);
        search("великоэкспонат", "/large.html");
        QTRY_VERIFY_WITH_TIMEOUT(!complete.isEmpty(), kWait);
        QVERIFY(browser.IsHighlightFor(browser.CurrentURL()));
        QVERIFY(!browser.IsHighlightShown());
        QCOMPARE(RunScript(browser.Page(), kMarkCount).toInt(), 0);

        finished.clear();
        nav.OnCommand(ID_HIGHLIGHT);
        auto* dialog = viewer->Frame()->findChild<CWaitDlg*>("waitDialog");
        QVERIFY(dialog);
        QCOMPARE(dialog->findChild<QLabel*>("waitText")->text(),
                 QStringLiteral("Выполняется подсветка результатов поиска..."));
        QTRY_VERIFY_WITH_TIMEOUT(!finished.isEmpty(), kWait);
        QCOMPARE(RunScript(browser.Page(), kMarks).toString(), QStringLiteral("великоэкспонат"));
        QVERIFY(browser.IsHighlightShown());
        QTRY_VERIFY(!viewer->Frame()->findChild<CWaitDlg*>("waitDialog"));

        nav.OnCommand(ID_HIGHLIGHT);  // off again
        QVERIFY(!browser.IsHighlightShown());
        QCOMPARE(WaitForScript(browser.Page(), kMarkCount, "0"), QStringLiteral("0"));
    }

private:
    std::unique_ptr<QWebEngineProfile> profile_;
};

KESTROVA_SHELL_TEST_MAIN(BrowserHighlightTest)
#include "browser_highlight_test.moc"
