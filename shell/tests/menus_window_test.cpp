// The menus, keys and window commands of a real navigator window on a copy of the sample
// knowledge base: the marks and grey items follow the window, the keys reach their commands,
// the export writes its file, clearing the history empties both lists.
#include "exec/named_lock_set.h"
#include "model/model.h"
#include "platform/event.h"
#include "platform/settings_store.h"
#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/app/view_settings.h"
#include "shell/browser/browser_wnd.h"
#include "shell/commands.h"
#include "shell/menus/key_tables.h"
#include "shell/nav/nav_messages.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"
#include "shell/panes/content_pane.h"
#include "shell/panes/index_box.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/tabs_pane.h"
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/nav_tool_button.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QUrl>
#include <QWebEngineView>

#include <functional>
#include <memory>

using namespace kestrova;
using test::PageLoaded;
using test::Viewer;

namespace {

constexpr int kWait = 30000;

// One item of an open menu, as the user sees it.
struct Item {
    QString text;
    bool enabled = false;
    bool checked = false;
};

// What an open drop-down menu showed.
struct Shot {
    QString name;
    QRect geometry;
    QMap<int, Item> items;  // by command; the "База данных" submenu's items too
};

void Read(const QMenu& menu, Shot& shot) {
    for (QAction* action : menu.actions()) {
        if (QMenu* sub = action->menu()) Read(*sub, shot);
        if (action->isSeparator() || action->data().toInt() == 0) continue;
        shot.items[action->data().toInt()] = {action->text(), action->isEnabled(),
                                              action->isCheckable() && action->isChecked()};
    }
}

// Runs `open`, which opens a drop-down menu and waits for it; once the menu is up, reads it
// and then chooses the item of `choose` (or closes the menu when 0). `screenshot` is where to
// save a picture of the screen with the menu open (none when empty).
Shot OpenMenu(const std::function<void()>& open, int choose = 0,
              const QString& screenshot = QString()) {
    Shot shot;
    auto deadline = std::make_shared<QDeadlineTimer>(kWait);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [&shot, choose, screenshot, deadline, poll] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu) {
            if (!deadline->hasExpired()) QTimer::singleShot(20, *poll);
            return;
        }
        shot.name = menu->objectName();
        shot.geometry = menu->geometry();
        Read(*menu, shot);
        if (!screenshot.isEmpty() && QTest::qWaitForWindowExposed(menu)) {
            QTest::qWait(200);  // a picture for people to look at, not a check: let it paint
            menu->screen()->grabWindow(0).save(screenshot);
        }
        QAction* chosen = nullptr;
        for (QAction* action : menu->actions()) {
            if (choose != 0 && action->data().toInt() == choose) chosen = action;
        }
        if (chosen) {
            menu->setActiveAction(chosen);
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    };
    QTimer::singleShot(0, *poll);
    open();
    return shot;
}

// Answers the next modal dialog of type T with `answer` once it is up.
template <typename T = QDialog>
void OnModal(const std::function<void(T*)>& answer) {
    auto deadline = std::make_shared<QDeadlineTimer>(kWait);
    auto poll = std::make_shared<std::function<void()>>();
    *poll = [answer, deadline, poll] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!modal || !modal->isVisible()) {
            if (!deadline->hasExpired()) QTimer::singleShot(20, *poll);
            return;
        }
        answer(modal);
    };
    QTimer::singleShot(0, *poll);
}

void ClickArrow(CNavToolBar* toolBar, int command) {
    CNavToolButton* button = toolBar->Button(command);
    const QPoint at = button->DropDownKind() == CNavToolButton::DropDown::Whole
                          ? button->rect().center()
                          : button->ArrowRect().center();
    QTest::mousePress(button, Qt::LeftButton, {}, at);
    QTest::mouseRelease(button, Qt::LeftButton, {}, at);
}

std::unique_ptr<Viewer> StartWithModel(const QString& kb, const QStringList& args) {
    auto viewer = test::StartViewer(kb, args);
    if (!viewer) return nullptr;
    viewer->Frame()->activateWindow();
    if (!QTest::qWaitForWindowActive(viewer->Frame())) return nullptr;
    CPagiroWnd_impl_& nav = viewer->Nav();
    if (!QTest::qWaitFor([&] { return nav.ShownModel() != nullptr; }, kWait)) return nullptr;
    return viewer;
}

}  // namespace

class MenusWindowTest : public QObject {
    Q_OBJECT
private slots:
    // Every window starts from the default view settings, whatever the last one left.
    void init() { SaveViewSettings(platform::SettingsStore(), QString(), ViewSettings()); }

    void MainMenuMarksAndGreyItemsFollowTheWindow() {
        auto viewer = StartWithModel(test::CopySampleKb(), {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/index-law.html"), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!nav.ReadMainMenuState().loading, kWait);
        CNavToolBar* toolBar = nav.ToolBar();

        const QString picture = qEnvironmentVariable("KESTROVA_MENU_SCREENSHOT");
        Shot shot = OpenMenu([&] { ClickArrow(toolBar, ID_MAIN_MENU); }, 0, picture);
        QCOMPARE(shot.name, QStringLiteral("mainMenu"));
        QCOMPARE(shot.items.size(), 13);
        QVERIFY(!shot.items[ID_OFFLINE_MODE].checked);
        QVERIFY(!shot.items[ID_HIGHLIGHT].enabled);
        QVERIFY(shot.items[ID_LEFT_PANE].checked);
        QVERIFY(!shot.items[ID_RESULT_PANE].checked);
        QVERIFY(shot.items[ID_TOOLBAR_TEXT].checked);
        QVERIFY(shot.items[ID_CONTENT_ICONS].checked);
        QVERIFY(shot.items[ID_DB_INFO].enabled && shot.items[ID_DB_EXPORT_XML].enabled);
        QVERIFY(shot.items[ID_DB_REBUILD].enabled);
        QVERIFY(shot.items[ID_EDIT_CURRENT_PAGE].enabled);
        QCOMPARE(shot.items[ID_EDIT_CURRENT_PAGE].text,
                 QStringLiteral("Редактировать текущую страницу\tCtrl+Shift+A"));
        // Below "Меню", right edges aligned.
        const QRect button =
            nav.ToolBar()
                ->Button(ID_MAIN_MENU)
                ->rect()
                .translated(nav.ToolBar()->Button(ID_MAIN_MENU)->mapToGlobal(QPoint(0, 0)));
        QCOMPARE(shot.geometry.top(), button.bottom() + 1);
        QCOMPARE(shot.geometry.right(), button.right());

        // Choosing an item carries it out at once: the left pane goes.
        OpenMenu([&] { ClickArrow(toolBar, ID_MAIN_MENU); }, ID_LEFT_PANE);
        QVERIFY(!nav.IsLeftPaneVisible());
        nav.OnCommand(ID_RESULT_PANE);
        nav.OnCommand(ID_TOOLBAR_TEXT);
        nav.OnCommand(ID_CONTENT_ICONS);
        nav.Browser()->SetOffline(true);
        HighlightRecord record;
        record.url = nav.Browser()->CurrentURL() + "#top";
        record.query = QStringLiteral("закон");
        nav.Browser()->SetHighlight(record);
        shot = OpenMenu([&] { ClickArrow(toolBar, ID_MAIN_MENU); });
        QVERIFY(shot.items[ID_OFFLINE_MODE].checked);
        QVERIFY(shot.items[ID_HIGHLIGHT].enabled);
        QVERIFY(!shot.items[ID_HIGHLIGHT].checked);
        QVERIFY(!shot.items[ID_LEFT_PANE].checked);
        QVERIFY(shot.items[ID_RESULT_PANE].checked);
        QVERIFY(!shot.items[ID_TOOLBAR_TEXT].checked);
        QVERIFY(!shot.items[ID_CONTENT_ICONS].checked);
        QVERIFY(!nav.ToolBar()->ShowText());
        QVERIFY(!nav.Tabs()->Contents()->IconsOn());

        // A page that is no local file: nothing to edit, nothing to highlight.
        nav.Browser()->Navigate(QStringLiteral("about:blank"));
        QTRY_COMPARE_WITH_TIMEOUT(nav.Browser()->CurrentURL(), QStringLiteral("about:blank"),
                                  kWait);
        shot = OpenMenu([&] { nav.OnCommand(ID_MAIN_MENU); });
        QVERIFY(!shot.items[ID_EDIT_CURRENT_PAGE].enabled);
        QVERIFY(!shot.items[ID_HIGHLIGHT].enabled);
    }

    void DatabaseItemsAreGreyWithoutAModelAndWhileLoading() {
        const QString kb = test::CopySampleKb();
        platform::ManualResetEvent stop;
        NamedLockSet locks(kLoadLockSet, QDir::cleanPath(kb).toStdU16String(), kLockSetSize, stop);
        auto held = std::make_unique<AllLocksHeld>(locks);  // the loader waits for these
        auto viewer = test::StartViewer(kb, {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ReadMainMenuState().loading, kWait);
        Shot shot = OpenMenu([&] { nav.OnCommand(ID_MAIN_MENU); });
        QVERIFY(!shot.items[ID_DB_INFO].enabled);
        QVERIFY(!shot.items[ID_DB_EXPORT_XML].enabled);
        QVERIFY(!shot.items[ID_DB_REBUILD].enabled);
        QVERIFY(!nav.ShownModel());
        // Without a model the commands do nothing (no dialog opens).
        nav.OnCommand(ID_DB_INFO);
        nav.OnCommand(ID_DB_EXPORT_XML);

        held.reset();
        QTRY_VERIFY_WITH_TIMEOUT(nav.ShownModel(), kWait);
        QTRY_VERIFY_WITH_TIMEOUT(!nav.ReadMainMenuState().loading, kWait);
        shot = OpenMenu([&] { nav.OnCommand(ID_MAIN_MENU); });
        QVERIFY(shot.items[ID_DB_INFO].enabled);
        QVERIFY(shot.items[ID_DB_EXPORT_XML].enabled);
        QVERIFY(shot.items[ID_DB_REBUILD].enabled);
    }

    void SearchOptionsAndTextSizeMenusFollowTheSettings() {
        auto viewer = StartWithModel(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        CNavToolBar* toolBar = nav.ToolBar();
        const bool related = nav.Settings().relatedWords;
        Shot shot = OpenMenu([&] { ClickArrow(toolBar, ID_SEARCH); }, ID_RELATED_WORDS);
        QCOMPARE(shot.name, QStringLiteral("searchOptionsMenu"));
        QCOMPARE(shot.items[ID_RELATED_WORDS].checked, related);
        QCOMPARE(nav.Settings().relatedWords, !related);

        OpenMenu([&] { ClickArrow(toolBar, ID_SEARCH); }, ID_QUERY_LANGUAGE);
        QVERIFY(nav.Settings().queryLanguage);
        OpenMenu([&] { ClickArrow(toolBar, ID_SEARCH); }, ID_TITLES_ONLY);
        QVERIFY(nav.Settings().titlesOnly);
        shot = OpenMenu([&] { ClickArrow(toolBar, ID_SEARCH); });
        QVERIFY(shot.items[ID_TITLES_ONLY].checked);
        QVERIFY(shot.items[ID_QUERY_LANGUAGE].checked);
        QVERIFY(!shot.items[ID_QUERY_LANGUAGE].enabled);
        // The menu opens under the search button.
        CNavToolButton* search = toolBar->Button(ID_SEARCH);
        QCOMPARE(shot.geometry.right(), search->mapToGlobal(QPoint(search->width() - 1, 0)).x());

        shot = OpenMenu([&] { ClickArrow(toolBar, ID_FONT_SIZE); });
        QCOMPARE(shot.name, QStringLiteral("textSizeMenu"));
        for (int size = 0; size < 5; ++size) {
            QCOMPARE(shot.items[ID_ZOOM_0 + size].checked, size == nav.Browser()->TextSize());
        }
    }

    void KeysReachTheirCommands() {
        auto viewer = StartWithModel(test::CopySampleKb(), {"index-law.html"});
        QVERIFY(viewer);
        CPagiroWnd* window = viewer->Frame()->NavWindow();
        CPagiroWnd_impl_& nav = viewer->Nav();
        QTRY_VERIFY_WITH_TIMEOUT(PageLoaded(nav.Browser(), "/index-law.html"), kWait);

        // Every key of the window's and the browser's tables is installed with its command.
        for (auto [owner, table] :
             {std::pair<QWidget*, std::span<const KeyBinding>>{window, NavigatorKeys()},
              {nav.Browser(), BrowserKeys()}}) {
            for (const KeyBinding& binding : table) {
                auto* action = owner->findChild<QAction*>(
                    QStringLiteral("key_%1").arg(binding.command), Qt::FindDirectChildrenOnly);
                QVERIFY2(action, qPrintable(binding.keys.toString()));
                QVERIFY(owner->actions().contains(action));
                QVERIFY(action->shortcuts().contains(binding.keys));
            }
        }

        // From the contents tree: the tabs change, the main menu opens under its button as
        // it does from a click.
        nav.Tabs()->Contents()->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_I,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabIndex));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_C,
                        Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(nav.Tabs()->CurrentTab(), int(kTabContents));
        const Shot clicked = OpenMenu([&] { ClickArrow(nav.ToolBar(), ID_MAIN_MENU); });
        const Shot keyed = OpenMenu([&] {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_M,
                            Qt::ControlModifier | Qt::ShiftModifier);
        });
        QCOMPARE(keyed.name, QStringLiteral("mainMenu"));
        QCOMPARE(keyed.geometry, clicked.geometry);

        // In the page: select all and copy are the browser's; the keypad's + and - reach the
        // text size commands.
        QWidget* page = nav.Browser()->View()->focusProxy();
        QVERIFY(page);
        page->setFocus();
        QTRY_VERIFY(page->hasFocus());
        QApplication::clipboard()->clear();
        QTest::keyClick(page, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(page, Qt::Key_C, Qt::ControlModifier);
        QTRY_VERIFY_WITH_TIMEOUT(!QApplication::clipboard()->text().isEmpty(), kWait);
        for (int command : {ID_ZOOM_IN, ID_ZOOM_OUT}) {
            auto* action =
                nav.Browser()->findChild<QAction*>(QStringLiteral("key_%1").arg(command));
            QSignalSpy fired(action, &QAction::triggered);
            QTest::keyClick(page, command == ID_ZOOM_IN ? Qt::Key_Plus : Qt::Key_Minus,
                            Qt::ControlModifier | Qt::KeypadModifier);
            QCOMPARE(fired.size(), 1);
        }
    }

    void ExportWritesTheModelToTheChosenFile() {
        auto viewer = StartWithModel(test::CopySampleKb(), {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        const QString target = test::TestHome().path() + "/export/model";
        QDir().mkpath(test::TestHome().path() + "/export");
        QStringList filters;
        QString suffix;
        OnModal<QFileDialog>([&](QFileDialog* dialog) {
            auto* types = dialog->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            for (int i = 0; types && i < types->count(); ++i) filters.append(types->itemText(i));
            suffix = dialog->defaultSuffix();
            QCOMPARE(dialog->acceptMode(), QFileDialog::AcceptSave);
            dialog->selectFile(target);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        nav.OnCommand(ID_DB_EXPORT_XML);
        QCOMPARE(filters, QStringList({"Файлы XML (*.xml)", "Все файлы"}));
        QCOMPARE(suffix, QStringLiteral("xml"));
        QFile file(target + ".xml");  // the default extension was added
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray xml = file.readAll();
        QVERIFY(xml.startsWith("\xEF\xBB\xBF<?xml"));
        QVERIFY(xml.contains("index-law.html"));

        // A file that cannot be written is reported, not passed over in silence.
        // (sysfs takes no new files, not even from root)
        const QString nowhere = QStringLiteral("/sys/model.xml");
        QString message;
        OnModal<QFileDialog>([&](QFileDialog* dialog) {
            OnModal<QMessageBox>([&](QMessageBox* box) {
                message = box->text();
                box->accept();
            });
            dialog->selectFile(nowhere);
            QMetaObject::invokeMethod(dialog, "accept", Qt::DirectConnection);
        });
        nav.OnCommand(ID_DB_EXPORT_XML);
        QVERIFY2(message.contains(nowhere), qPrintable(message));
        QVERIFY2(!message.contains("savinig"), qPrintable(message));  // the system's reason
        QVERIFY(!QFile::exists(nowhere));
    }

    void ClearHistoryEmptiesBothListsAndTheStoredOnes() {
        const QString kb = test::CopySampleKb();
        ViewSettings stored;
        stored.searchHistory.Append(QStringLiteral("договор"));
        stored.searchHistory.Append(QStringLiteral("заземление"));
        stored.indexHistory.Append(QStringLiteral("аренда"));
        SaveViewSettings(platform::SettingsStore(), QString(), stored);
        {
            auto viewer = StartWithModel(kb, {});
            QVERIFY(viewer);
            CPagiroWnd_impl_& nav = viewer->Nav();
            CSearchComboBox* search = nav.ToolBar()->SearchBox();
            CIndexComboBox* index = nav.Tabs()->Index()->Box();
            QCOMPARE(search->count(), 2);
            QCOMPARE(index->count(), 1);
            QCOMPARE(index->itemText(0), QStringLiteral("аренда"));
            search->lineEdit()->setText(QStringLiteral("typed"));

            OpenMenu([&] { nav.OnCommand(ID_MAIN_MENU); }, ID_CLEAR_HISTORY);
            QVERIFY(nav.Settings().searchHistory.Items().isEmpty());
            QVERIFY(nav.Settings().indexHistory.Items().isEmpty());
            QCOMPARE(search->count(), 1);
            QCOMPARE(search->itemText(0), QString());
            QCOMPARE(index->count(), 1);
            QCOMPARE(index->itemText(0), QString());
            QCOMPARE(search->lineEdit()->text(), QStringLiteral("typed"));
            viewer->Frame()->close();
            QTRY_VERIFY_WITH_TIMEOUT(viewer->app->Frames().empty(), kWait);
        }
        ViewSettings again;
        LoadViewSettings(platform::SettingsStore(), QString(), again);
        QVERIFY(again.searchHistory.Items().isEmpty());
        QVERIFY(again.indexHistory.Items().isEmpty());
    }

    void InformationDialogsShowTheModelAndTheEngine() {
        const QString kb = test::CopySampleKb();
        auto viewer = StartWithModel(kb, {});
        QVERIFY(viewer);
        CPagiroWnd_impl_& nav = viewer->Nav();
        ModelInfo info;
        nav.ShownModel()->GetModelInfo(info);
        QStringList fields;
        OnModal<QDialog>([&](QDialog* modal) {
            const QString picture = qEnvironmentVariable("KESTROVA_MENU_SCREENSHOT");
            if (!picture.isEmpty()) modal->grab().save(picture + ".info.png");
            for (const char* name : {"infoHtmlFolder", "infoPages", "infoKeywords"}) {
                auto* edit = modal->findChild<QLineEdit*>(QString::fromLatin1(name));
                fields.append(edit ? edit->text() : QString());
            }
            modal->close();
        });
        nav.OnCommand(ID_DB_INFO);
        QCOMPARE(fields, QStringList({QDir::cleanPath(kb), QString::number(info.pages),
                                      QString::number(info.keywords)}));
        QVERIFY(info.pages > 10);

        QString caption;
        OnModal<QDialog>([&](QDialog* modal) {
            caption = modal->windowTitle();
            const QString picture = qEnvironmentVariable("KESTROVA_MENU_SCREENSHOT");
            if (!picture.isEmpty()) modal->grab().save(picture + ".about.png");
            modal->close();
        });
        nav.OnCommand(ID_ABOUT);
        QCOMPARE(caption, QStringLiteral("Информация о версии"));
    }
};

KESTROVA_SHELL_TEST_MAIN(MenusWindowTest)

#include "menus_window_test.moc"
