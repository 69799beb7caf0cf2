// The viewer as a user meets it: real frames and navigator windows on a copy of the sample
// knowledge base, with the real model environments, worker threads and Qt WebEngine.
#include "exec/workers/model_env_registry.h"
#include "model/content.h"
#include "model/keyword.h"
#include "model/model.h"
#include "model/page_info.h"
#include "model/topic.h"
#include "platform/settings_store.h"
#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/result_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"
#include "shell/toolbar/splitter_ctrl.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <memory>

using namespace kestrova;
using test::PageLoaded;

namespace {

constexpr int kWait = 30000;  // generous: the first model and the first index are built here

// One viewer process, in-process: the application with its first frame.
QString FilterTag(IModel* model) {
    const char16_t* tag = model ? GetModelFilter(model)->GetFilterTag() : nullptr;
    return tag ? QString::fromUtf16(tag) : QString();
}

void RunSearch(CPagiroWnd_impl_& nav, const QString& text) {
    QLineEdit* edit = nav.ToolBar()->SearchBox()->lineEdit();
    edit->setText(text);
    nav.OnCommand(ID_SEARCH);  // returns once the progress dialog has ended
}

IContentNode* SelectedNode(CPagiroWnd_impl_& nav) { return nav.Tabs()->Contents()->SelectedNode(); }

// Reads and closes the message box that the window shows (called from a timer while the
// window waits for it).
void AnswerMessageBox(QString& text, QString& caption) {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box) {
        QTimer::singleShot(20, [&] { AnswerMessageBox(text, caption); });
        return;
    }
    text = box->text();
    caption = box->windowTitle();
    box->accept();
}

}  // namespace

class NavigatorTest : public QObject {
    Q_OBJECT
private slots:
    void StartPageAndDomainShowTheLawView() {
        const QString kb = test::CopySampleKb();
        auto viewer = test::StartViewer(kb, {"index-law.html", "/domain=law"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        QCOMPARE(FilterTag(nav.ShownModel()), QStringLiteral("law"));
        QCOMPARE(nav.ToolBar()->DomainBox()->currentText(), QStringLiteral("Законодательство"));
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/index-law.html"), kWait);
        QCOMPARE(nav.Folder(), kb);
        QCOMPARE(viewer->Frame()->windowTitle(),
                 nav.Browser()->CurrentTitle() + QStringLiteral(" - Кестрова"));
    }

    void SearchFillsResultsAndOpeningOneSelectsItsContentsNode() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        RunSearch(nav, QStringLiteral("договор"));
        CResultPane* results = nav.Results();
        QVERIFY(results->Count() > 1);
        QVERIFY(nav.IsBottomPaneVisible());
        QCOMPARE(results->HeaderText(), QStringLiteral("Результаты поиска \"договор\" - найдено "
                                                       "страниц: %1.")
                                            .arg(results->Count()));
        results->SelectItem(1);
        QTRY_VERIFY_WITH_TIMEOUT(!nav.Browser()->CurrentTitle().isEmpty() &&
                                     nav.Browser()->CurrentURL().contains("/law/"),
                                 kWait);
        IContentNode* node = SelectedNode(nav);
        QVERIFY(node && node->GetTopic());
        const QString selectedPage = QUrl(nav.Browser()->CurrentURL()).toLocalFile();
        QVERIFY(selectedPage.endsWith(
            QString::fromUtf16(node->GetTopic()->GetPage()->GetPath()).replace('\\', '/')));
        QCOMPARE(nav.ToolBar()->SearchBox()->itemText(0), QStringLiteral("договор"));
    }

    void ExactlyOneHitOpensItsPage() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        RunSearch(nav, QStringLiteral("лицензирование"));
        QCOMPARE(nav.Results()->Count(), 1);
        QVERIFY(nav.IsBottomPaneVisible());
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/law/gov/licensing.html"), kWait);
    }

    void FailedSearchSaysWhyInsteadOfFindingNothing() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        nav.OnCommand(ID_QUERY_LANGUAGE);
        RunSearch(nav, QStringLiteral("(заземление OR"));
        QCOMPARE(nav.Results()->Count(), 0);
        QVERIFY(nav.IsBottomPaneVisible());
        const QString header = nav.Results()->HeaderText();
        QVERIFY2(header.contains(QStringLiteral("не выполнен")) && header.contains("parse"),
                 qPrintable(header));
        RunSearch(nav, QStringLiteral("заземление AND зануление"));
        QVERIFY(nav.Results()->Count() > 0);
    }

    void CategoryFiltersContentsIndexAndResults() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        const int allKeywords = nav.ShownModel()->GetKeywordList()->GetCount();
        RunSearch(nav, QStringLiteral("пожарной"));
        const int allHits = nav.Results()->Count();

        CDomainComboBox* box = nav.ToolBar()->DomainBox();
        QCOMPARE(box->itemText(0), QStringLiteral("Все категории"));
        const int law = box->findText(QStringLiteral("Законодательство"));
        QVERIFY(law > 0);
        box->setCurrentIndex(law);
        emit box->selectionChanged();
        QCOMPARE(FilterTag(nav.ShownModel()), QStringLiteral("law"));
        IContentNodeList* roots = nav.ShownModel()->GetContent()->GetRoots();
        for (int i = 0; i < roots->GetCount(); ++i) {
            QVERIFY(QString::fromUtf16(roots->GetItem(i)->GetText()) != "Технические нормы");
        }
        QVERIFY(nav.ShownModel()->GetKeywordList()->GetCount() < allKeywords);
        RunSearch(nav, QStringLiteral("пожарной"));
        QVERIFY(nav.Results()->Count() > 0 && nav.Results()->Count() < allHits);
    }

    void CopiedWindowSharesTheEnvironmentAndKeepsPaneState() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/index-law.html"), kWait);
        IContent* content = nav.ShownModel()->GetContent();
        IContentNode* civil =
            content->FindNodeByTitlePath({u"Законодательство", u"Кодексы", u"Гражданский кодекс"});
        QVERIFY(civil);
        QVERIFY(nav.Tabs()->Contents()->SelectNode(civil));
        nav.OnCommand(ID_SHOW_INDEX);
        nav.Tabs()->Contents();  // state: civil code selected, index tab shown
        const PaneState before = nav.SavePaneState();

        nav.OnCommand(ID_OPEN_NEW_WINDOW);
        QTRY_COMPARE_WITH_TIMEOUT(viewer->app->Frames().size(), size_t(2), kWait);
        CPagiroWnd_impl_& copy = viewer->Nav(1);
        QTRY_VERIFY_WITH_TIMEOUT(copy.ShownModel(), kWait);
        QCOMPARE(viewer->app->Context().registry.EnvironmentCount(), size_t(1));
        QCOMPARE(copy.Tabs()->CurrentTab(), int(kTabIndex));
        const PaneState after = copy.SavePaneState();
        QCOMPARE(after.selected, before.selected);
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(copy.Browser(), "/index-law.html"), kWait);

        viewer->Frame(0)->close();
        QTRY_COMPARE_WITH_TIMEOUT(viewer->app->Frames().size(), size_t(1), kWait);
        QCOMPARE(viewer->app->MainWindow(), viewer->Frame(0));
    }

    void SettingsWrittenAtCloseAreReadAtTheNextStart() {
        const QString kb = test::CopySampleKb();
        {
            auto viewer = test::StartViewer(kb, {});
            QVERIFY(viewer);
            CPagiroWnd_impl_& nav = viewer->Nav();
            QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
            RunSearch(nav, QStringLiteral("заземление"));
            viewer->Frame()->resize(900, 700);
            viewer->Frame()->close();
            QTRY_VERIFY_WITH_TIMEOUT(viewer->app->Frames().empty(), kWait);
        }
        platform::SettingsStore store;
        QCOMPARE(
            store.ReadString(u"Software\\Kestrova\\ViewSettings\\Default\\SearchHistory", u"Item0"),
            std::u16string(u"заземление"));
        QCOMPARE(store.ReadDword(u"Software\\Kestrova\\ViewSettings\\Default\\Frame", u"Width"),
                 900u);
        auto again = test::StartViewer(kb, {});
        QVERIFY(again);
        CPagiroWnd_impl_& nav = again->Nav();
        QCOMPARE(nav.Settings().searchHistory.Items().value(0), QStringLiteral("заземление"));
        QCOMPARE(again->Frame()->width(), 900);
        QVERIFY(!nav.IsBottomPaneVisible());  // the result pane always starts hidden
    }

    void PageChangedOnDiskReloads() {
        const QString kb = test::CopySampleKb();
        const QString page = kb + "/changing.html";
        test::WriteFile(page, "<html><head><title>Before</title></head><body>1</body></html>");
        auto viewer = test::StartViewer(kb, {"changing.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_COMPARE_WITH_TIMEOUT(nav.Browser()->CurrentTitle(), QStringLiteral("Before"), kWait);
        // The watch takes the file's time once the page has loaded, which may come after the
        // title shows: the file changes again, a second later each time, until the window sees it.
        const auto reloaded = [&] { return nav.Browser()->CurrentTitle() == "After"; };
        for (int round = 1; round <= 10 && !reloaded(); ++round) {
            test::WriteFile(page, "<html><head><title>After</title></head><body>2</body></html>");
            QFile changed(page);
            QVERIFY(changed.open(QIODevice::ReadWrite));
            QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(5 + round),
                                        QFileDevice::FileModificationTime));
            changed.close();
            if (QTest::qWaitFor(reloaded, 2000)) break;
        }
        QVERIFY(reloaded());
    }

    void SplitterHidesAPaneOfAHundredPixelsOrLess() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        auto* left = viewer->Frame()->findChild<CSplitterCtrl*>(QStringLiteral("leftSplitter"));
        QVERIFY(left);
        emit left->SPN_MOVED(QRect(100, 0, 5, 400));
        QVERIFY(!nav.IsLeftPaneVisible());
        QVERIFY(!nav.Tabs()->isVisible());
        emit left->SPN_MOVED(QRect(101, 0, 5, 400));
        QVERIFY(nav.IsLeftPaneVisible());
        QCOMPARE(nav.LeftPaneWidth(), 101);
        QCOMPARE(nav.Tabs()->width(), 101);
        emit left->SPN_TOGGLE();
        QVERIFY(!nav.IsLeftPaneVisible());
        nav.OnCommand(ID_SHOW_INDEX);  // a tab command shows the pane again
        QVERIFY(nav.IsLeftPaneVisible());
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabIndex));
    }

    void ReloadKeepsTheCategoryAndThePaneState() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {"/domain=law"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        IContentNode* civil = nav.ShownModel()->GetContent()->FindNodeByTitlePath(
            {u"Законодательство", u"Кодексы", u"Гражданский кодекс"});
        QVERIFY(civil && nav.Tabs()->Contents()->SelectNode(civil));
        const PaneState before = nav.SavePaneState();
        IModel* old = nav.ShownModel();
        nav.OnCommand(ID_DB_REBUILD);
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel() != old, kWait);
        QCOMPARE(FilterTag(nav.ShownModel()), QStringLiteral("law"));
        QCOMPARE(nav.SavePaneState().selected, before.selected);
    }

    void KeywordTopicsOpenASingleTopicAtOnce() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        NavKeywordTopics one(QStringLiteral("оферта"));
        QCOMPARE(SendNavMessage(viewer->Frame()->NavWindow(), one), qintptr(1));
        QCOMPARE(nav.Results()->Count(), 1);
        QVERIFY(!nav.IsBottomPaneVisible());
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/law/civil/contract.html"), kWait);
        QVERIFY(nav.Browser()->CurrentURL().endsWith("#offer"));
        NavKeywordTopics three(QStringLiteral("Договор"));
        SendNavMessage(viewer->Frame()->NavWindow(), three);
        QCOMPARE(nav.Results()->Count(), 3);
        QVERIFY(nav.IsBottomPaneVisible());
        QCOMPARE(nav.Settings().indexHistory.Items(), QStringList({"Договор", "оферта"}));
    }

    void PageOutsideTheCategorySaysSoWhenLookedUpInTheContents() {
        auto viewer =
            test::StartViewer(test::CopySampleKb(), {"tech/std/grounding.html", "/domain=law"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/tech/std/grounding.html"), kWait);
        QString shown;
        QString caption;
        QTimer::singleShot(0, [&] { AnswerMessageBox(shown, caption); });
        nav.OnCommand(ID_FIND_IN_CONTENTS);
        QCOMPARE(caption, QStringLiteral("Информация"));
        QVERIFY2(shown.startsWith(QStringLiteral("Страница \"")) &&
                     shown.endsWith(QStringLiteral(
                         "\" не найдена в содержании для категории \"Законодательство\".")),
                 qPrintable(shown));
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabContents));
    }

    void EditPageRunsTheUsersEditor() {
        const QString kb = test::CopySampleKb();
        const QString record = test::TestHome().path() + "/edited.txt";
        const QString editor = test::TestHome().path() + "/editor.sh";
        // The record appears whole: the test waits for the file to be there.
        test::WriteFile(editor, "#!/bin/sh\necho \"$@\" > " + record.toUtf8() + ".part && mv " +
                                    record.toUtf8() + ".part " + record.toUtf8() + "\n");
        QFile::setPermissions(editor, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("VISUAL", (editor + " --wait").toUtf8());
        auto viewer = test::StartViewer(kb, {"law/civil/contract.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/law/civil/contract.html"), kWait);
        nav.OnCommand(ID_EDIT_PAGE);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), kWait);
        QFile file(record);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().trimmed(), ("--wait " + kb + "/law/civil/contract.html").toUtf8());
        qunsetenv("VISUAL");
    }

    void WaitForAModelEndsWhenTheLoadFails() {
        const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
        const QString notAFolder = test::TestHome().path() + "/data-is-a-file";
        test::WriteFile(notAFolder, "x");
        qputenv("XDG_DATA_HOME", notAFolder.toUtf8());  // no data folder can be made
        {
            auto viewer = test::StartViewer(test::CopySampleKb(), {});
            QVERIFY(viewer);
            CPagiroWnd_impl_& nav = viewer->Nav();
            RunSearch(nav, QStringLiteral("договор"));  // returns: the wait gives up
            QVERIFY(!nav.ShownModel());
            QVERIFY(!nav.CurrentSearch());
        }
        qputenv("XDG_DATA_HOME", dataHome);
    }

    void KeyControlsHaveAccessibleNamesAndTakeTheFocusByTab() {
        auto viewer = test::StartViewer(test::CopySampleKb(), {});
        QVERIFY(viewer);
        QWidget* frame = viewer->Frame();
        auto name = [](QWidget* w) {
            QAccessibleInterface* a = w ? QAccessible::queryAccessibleInterface(w) : nullptr;
            return a ? a->text(QAccessible::Name) : QString();
        };
        QCOMPARE(name(frame->findChild<QWidget*>("button_32771")), QStringLiteral("Назад"));
        QCOMPARE(name(frame->findChild<QWidget*>("button_32776")), QStringLiteral("Поиск"));
        QCOMPARE(name(frame->findChild<QWidget*>("button_32779")), QStringLiteral("Меню"));
        QVERIFY(!name(frame->findChild<QWidget*>("searchBox")).isEmpty());
        QVERIFY(!name(frame->findChild<QWidget*>("domainBox")).isEmpty());
        QVERIFY(!name(frame->findChild<QWidget*>("contentTree")).isEmpty());
        for (const char* control : {"searchBox", "domainBox", "contentTree", "resultList"}) {
            QWidget* w = frame->findChild<QWidget*>(control);
            QVERIFY2(w && w->focusPolicy() & Qt::TabFocus, control);
        }
    }

    void FolderThatIsAPlainFileEndsWithStatusOne() {
        const QString file = test::TestHome().path() + "/not-a-folder";
        test::WriteFile(file, "x");
        QProcess viewer;
        viewer.start(QStringLiteral(KESTROVA_VIEWER), {"/folder=" + file});
        QVERIFY(viewer.waitForFinished(kWait));
        QCOMPARE(viewer.exitStatus(), QProcess::NormalExit);
        QCOMPARE(viewer.exitCode(), 1);
        const QList<QByteArray> lines = viewer.readAllStandardError().trimmed().split('\n');
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines[0].contains(file.toUtf8()));
    }
};

KESTROVA_SHELL_TEST_MAIN(NavigatorTest)
#include "navigator_test.moc"
