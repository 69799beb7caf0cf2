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

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QObject>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>

#include <memory>

using namespace kestrova;

namespace {

constexpr int kWait = 30000;  // generous: the first model and the first index are built here

// One viewer process, in-process: the application with its first frame.
struct Viewer {
    std::unique_ptr<CNavApp> app;

    CMainFrame* Frame(size_t i = 0) const { return app->Frames().at(i); }
    CPagiroWnd_impl_& Nav(size_t i = 0) const { return Frame(i)->NavWindow()->Impl(); }
};

std::unique_ptr<Viewer> Start(const QString& currentDir, const QStringList& args) {
    QDir::setCurrent(currentDir);
    auto viewer = std::make_unique<Viewer>();
    viewer->app = std::make_unique<CNavApp>();
    QString error;
    if (!viewer->app->InitInstance(args, &error)) {
        qWarning("start failed: %s", qPrintable(error));
        return nullptr;
    }
    return viewer;
}

QString FilterTag(IModel* model) {
    const char16_t* tag = model ? GetModelFilter(model)->GetFilterTag() : nullptr;
    return tag ? QString::fromUtf16(tag) : QString();
}

bool PageLoaded(CBrowserWnd* browser, const QString& fileName) {
    return QUrl(browser->CurrentURL()).toLocalFile().endsWith(fileName) &&
           !browser->CurrentTitle().isEmpty();
}

void RunSearch(CPagiroWnd_impl_& nav, const QString& text) {
    QLineEdit* edit = nav.ToolBar()->SearchBox()->lineEdit();
    edit->setText(text);
    nav.OnCommand(ID_SEARCH);  // returns once the progress dialog has ended
}

IContentNode* SelectedNode(CPagiroWnd_impl_& nav) { return nav.Tabs()->Contents()->SelectedNode(); }

}  // namespace

class NavigatorTest : public QObject {
    Q_OBJECT
private slots:
    void StartPageAndDomainShowTheLawView() {
        const QString kb = test::CopySampleKb();
        auto viewer = Start(kb, {"index-law.html", "/domain=law"});
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
        auto viewer = Start(test::CopySampleKb(), {});
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
        auto viewer = Start(test::CopySampleKb(), {});
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        RunSearch(nav, QStringLiteral("лицензирование"));
        QCOMPARE(nav.Results()->Count(), 1);
        QVERIFY(nav.IsBottomPaneVisible());
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/law/gov/licensing.html"), kWait);
    }

    void FailedSearchSaysWhyInsteadOfFindingNothing() {
        auto viewer = Start(test::CopySampleKb(), {});
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
        auto viewer = Start(test::CopySampleKb(), {});
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
        auto viewer = Start(test::CopySampleKb(), {"index-law.html"});
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
            auto viewer = Start(kb, {});
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
        auto again = Start(kb, {});
        CPagiroWnd_impl_& nav = again->Nav();
        QCOMPARE(nav.Settings().searchHistory.Items().value(0), QStringLiteral("заземление"));
        QCOMPARE(again->Frame()->width(), 900);
        QVERIFY(!nav.IsBottomPaneVisible());  // the result pane always starts hidden
    }

    void PageChangedOnDiskReloads() {
        const QString kb = test::CopySampleKb();
        const QString page = kb + "/changing.html";
        test::WriteFile(page, "<html><head><title>Before</title></head><body>1</body></html>");
        auto viewer = Start(kb, {"changing.html"});
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_COMPARE_WITH_TIMEOUT(nav.Browser()->CurrentTitle(), QStringLiteral("Before"), kWait);
        test::WriteFile(page, "<html><head><title>After</title></head><body>2</body></html>");
        QFile changed(page);
        QVERIFY(changed.open(QIODevice::ReadWrite));
        QVERIFY(changed.setFileTime(QDateTime::currentDateTime().addSecs(5),
                                    QFileDevice::FileModificationTime));
        QTRY_COMPARE_WITH_TIMEOUT(nav.Browser()->CurrentTitle(), QStringLiteral("After"), 10000);
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
