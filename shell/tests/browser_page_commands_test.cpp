// The browser host's commands on the page: text size, find bar, context menu, print, and the
// choose-frame dialog.
#include "shell/browser/browser_wnd.h"
#include "shell/browser/find_bar.h"
#include "shell/dialogs/select_frame_dlg.h"
#include "shell/tests/browser_test_support.h"
#include "shell/tests/shell_test_support.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QObject>
#include <QPrinter>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QUrl>
#include <QWebEngineProfile>
#include <QWebEngineView>

#include <memory>

using namespace kestrova;
using namespace kestrova::test;

namespace {

constexpr int kWait = 30000;

QString PageFolder() {
    const QString folder = TestHome().path() + "/pages";
    if (!QFile::exists(folder + "/a.html")) {
        WriteFile(folder + "/a.html",
                  "<html><head><meta charset='utf-8'><title>A</title></head><body>"
                  "<p>альфа бета альфа гамма альфа</p></body></html>");
        WriteFile(folder + "/b.html", "<html><head><title>B</title></head><body>b</body></html>");
    }
    return folder;
}

}  // namespace

class BrowserPageCommandsTest : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { profile_.reset(StartTestProfile()); }
    void cleanupTestCase() { profile_.reset(); }

    void TextSizeStaysWithinItsFiveStepsAndAcrossPages() {
        BrowserWindow window(*profile_, PageFolder());
        CBrowserWnd& browser = *window.browser;
        QVERIFY(NavigateAndWait(browser, FileUrl(PageFolder() + "/a.html")));
        QCOMPARE(browser.TextSize(), 2);
        QCOMPARE(browser.Page()->zoomFactor(), 1.0);
        browser.SetTextSize(4);
        browser.TextLarger();
        QCOMPARE(browser.TextSize(), 4);
        browser.SetTextSize(5);
        browser.SetTextSize(-1);
        QCOMPARE(browser.TextSize(), 4);
        browser.NextTextSize();
        QCOMPARE(browser.TextSize(), 0);
        browser.TextSmaller();
        QCOMPARE(browser.TextSize(), 0);
        const qreal smallest = browser.Page()->zoomFactor();
        QVERIFY(smallest < 1.0);
        QVERIFY(NavigateAndWait(browser, FileUrl(PageFolder() + "/b.html")));
        QCOMPARE(browser.Page()->zoomFactor(), smallest);
    }

    void FindBarCountsAndStepsThroughMatches() {
        BrowserWindow window(*profile_, PageFolder());
        CBrowserWnd& browser = *window.browser;
        QVERIFY(!browser.IsFindAvailable());
        QVERIFY(NavigateAndWait(browser, FileUrl(PageFolder() + "/a.html")));
        QVERIFY(browser.IsFindAvailable() && browser.IsPrintAvailable());
        browser.ShowFindBar();
        CFindBar* bar = browser.FindBar();
        QVERIFY(bar->isVisible());
        QSignalSpy found(bar, &CFindBar::found);
        bar->Field()->setText(QStringLiteral("альфа"));
        QTest::keyClick(bar->Field(), Qt::Key_Return);
        QTRY_COMPARE_WITH_TIMEOUT(bar->CountText(), QStringLiteral("1 из 3"), kWait);
        bar->findChild<QToolButton*>("findNext")->click();
        QTRY_COMPARE_WITH_TIMEOUT(bar->CountText(), QStringLiteral("2 из 3"), kWait);
        bar->findChild<QToolButton*>("findPrevious")->click();
        QTRY_COMPARE_WITH_TIMEOUT(bar->CountText(), QStringLiteral("1 из 3"), kWait);
        bar->Field()->setText(QStringLiteral("дельта"));
        bar->Find(false);
        QTRY_COMPARE_WITH_TIMEOUT(bar->CountText(), QStringLiteral("Не найдено"), kWait);
        QTest::keyClick(bar->Field(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
    }

    void ContextMenuAddsToFavoritesAndDropsTheBrowsersOwnEntries() {
        BrowserWindow window(*profile_, PageFolder());
        CBrowserWnd& browser = *window.browser;
        QVERIFY(NavigateAndWait(browser, FileUrl(PageFolder() + "/a.html")));
        QWidget* target =
            browser.View()->focusProxy() ? browser.View()->focusProxy() : browser.View();
        QTest::mouseClick(target, Qt::RightButton, {}, QPoint(200, 200));
        QTRY_VERIFY_WITH_TIMEOUT(qobject_cast<QMenu*>(QApplication::activePopupWidget()), kWait);
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QCOMPARE(menu->objectName(), QStringLiteral("pageMenu"));
        for (auto dropped : {QWebEnginePage::ViewSource, QWebEnginePage::SavePage,
                             QWebEnginePage::InspectElement}) {
            QVERIFY(!menu->actions().contains(browser.Page()->action(dropped)));
        }
        QVERIFY(menu->actions().contains(browser.Page()->action(QWebEnginePage::Back)));
        auto* favorite = menu->findChild<QAction*>("addFavoriteAction");
        QVERIFY(favorite);
        QCOMPARE(favorite->text(), QStringLiteral("Добавить в избранное..."));
        QSignalSpy added(&browser, &CBrowserWnd::BWN_ADDFAVORITE);
        favorite->trigger();
        menu->close();
        QCOMPARE(added.size(), 1);
        QCOMPARE(added.front().at(0).toInt(), 1);
    }

    void PrintsToAPrinterAndNothingWhenTheDialogIsCancelled() {
        BrowserWindow window(*profile_, PageFolder());
        CBrowserWnd& browser = *window.browser;
        QVERIFY(NavigateAndWait(browser, FileUrl(PageFolder() + "/a.html")));
        QSignalSpy printed(&browser, &CBrowserWnd::PrintFinished);
        int dialogs = 0;
        browser.Print([&](QDialog*) {
            ++dialogs;
            return int(QDialog::Rejected);
        });
        QCOMPARE(dialogs, 1);
        QCOMPARE(printed.size(), 0);

        const QString pdf = TestHome().path() + "/page.pdf";
        auto printer = std::make_unique<QPrinter>();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(pdf);
        browser.PrintTo(std::move(printer));
        QVERIFY(printed.wait(kWait));
        QVERIFY(printed.front().at(0).toBool());
        QFile file(pdf);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.read(5) == "%PDF-");
    }

    void ChooseFrameOffersTheFramesThenTheMainDocument() {
        std::vector<FrameEntry> frames = {{"text", "file:///kb/b.html", 2},
                                          {"list", "file:///kb/a.html", 1}};
        CSelectFrameDlg dialog(nullptr, frames, "file:///kb/frames.html");
        QTreeWidget* list = dialog.List();
        QCOMPARE(list->topLevelItemCount(), 3);
        QCOMPARE(list->topLevelItem(2)->text(0), QStringLiteral("<main>"));
        QCOMPARE(list->topLevelItem(2)->text(1), QStringLiteral("file:///kb/frames.html"));
        QVERIFY(list->topLevelItem(0)->isSelected());
        list->clearSelection();
        dialog.accept();  // nothing chosen: the dialog stays
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QVERIFY(dialog.SelectedUrl().isEmpty());
        list->topLevelItem(1)->setSelected(true);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.SelectedUrl(), QStringLiteral("file:///kb/a.html"));
    }

private:
    std::unique_ptr<QWebEngineProfile> profile_;
};

KESTROVA_SHELL_TEST_MAIN(BrowserPageCommandsTest)
#include "browser_page_commands_test.moc"
