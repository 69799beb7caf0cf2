// The drop-down menus, the keyboard tables and the information dialogs, on their own.
#include "model/model.h"
#include "shell/commands.h"
#include "shell/dialogs/about_dlg.h"
#include "shell/dialogs/model_info_dlg.h"
#include "shell/menus/key_tables.h"
#include "shell/menus/nav_menus.h"
#include "shell/tests/shell_test_support.h"

#include <QtWebEngineCore/qtwebenginecoreglobal.h>
#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <memory>

using namespace kestrova;

namespace {

// What a menu item shows.
struct Item {
    QString text;  // "-" for a separator
    int command = 0;
    bool enabled = true;
    bool checked = false;
};

QList<Item> ItemsOf(const QMenu& menu) {
    QList<Item> items;
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) {
            items.append({QStringLiteral("-")});
            continue;
        }
        items.append({action->text(), action->data().toInt(), action->isEnabled(),
                      action->isCheckable() && action->isChecked()});
    }
    return items;
}

const Item* Find(const QList<Item>& items, int command) {
    for (const Item& item : items) {
        if (item.command == command) return &item;
    }
    return nullptr;
}

QStringList TextsOf(const QList<Item>& items) {
    QStringList texts;
    for (const Item& item : items) texts.append(item.text);
    return texts;
}

// A window with one focusable child that owns a key table; `fired` collects the commands.
struct KeyWindow {
    QWidget window;
    QTreeWidget* child = new QTreeWidget(&window);
    QList<int> fired;

    KeyWindow(std::span<const KeyBinding> table, Qt::ShortcutContext context) {
        auto* layout = new QVBoxLayout(&window);
        layout->addWidget(child);
        child->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("a")}));
        child->addTopLevelItem(new QTreeWidgetItem(QStringList{QStringLiteral("b")}));
        InstallKeyTable(*child, table, context, [this](int id) { fired.append(id); });
        window.show();
        window.activateWindow();
        child->setFocus();
    }
};

}  // namespace

class MenusTest : public QObject {
    Q_OBJECT
private slots:
    void MainMenuHasEveryItemInOrderWithMarksAndGreyItems() {
        MainMenuState state;
        state.leftPane = true;
        state.toolbarText = true;
        state.modelShown = true;
        state.localPage = true;
        std::unique_ptr<QMenu> menu = BuildMainMenu(nullptr, state);
        const QList<Item> items = ItemsOf(*menu);
        QCOMPARE(
            TextsOf(items),
            QStringList(
                {"Открыть в новом окне", "Режим offline", "-", "Подсветка результатов поиска", "-",
                 "Левая панель", "Панель результатов поиска", "-", "Текст в панели инструментов",
                 "-", "Картинки в содержании", "-", "База данных", "-", "Очистить историю поиска",
                 "-", "Редактировать текущую страницу\tCtrl+Shift+A", "-",
                 "Информация о версии..."}));
        QVERIFY(Find(items, ID_LEFT_PANE)->checked);
        QVERIFY(!Find(items, ID_RESULT_PANE)->checked);
        QVERIFY(Find(items, ID_TOOLBAR_TEXT)->checked);
        QVERIFY(!Find(items, ID_CONTENT_ICONS)->checked);
        QVERIFY(!Find(items, ID_OFFLINE_MODE)->checked);
        QVERIFY(!Find(items, ID_HIGHLIGHT)->enabled);
        QVERIFY(Find(items, ID_EDIT_CURRENT_PAGE)->enabled);

        auto* database = menu->findChild<QMenu*>(QStringLiteral("databaseMenu"));
        QVERIFY(database);
        const QList<Item> db = ItemsOf(*database);
        QCOMPARE(TextsOf(db),
                 QStringList({"Информация...", "Выгрузка в XML...", "Принудительное обновление"}));
        QVERIFY(Find(db, ID_DB_INFO)->enabled && Find(db, ID_DB_EXPORT_XML)->enabled);
        QVERIFY(Find(db, ID_DB_REBUILD)->enabled);

        // No model, a load in progress, a page that is no local file, highlighting shown.
        MainMenuState other;
        other.loading = true;
        other.offline = true;
        other.highlightPending = true;
        other.highlightShown = true;
        std::unique_ptr<QMenu> second = BuildMainMenu(nullptr, other);
        const QList<Item> items2 = ItemsOf(*second);
        QVERIFY(Find(items2, ID_OFFLINE_MODE)->checked);
        QVERIFY(Find(items2, ID_HIGHLIGHT)->enabled && Find(items2, ID_HIGHLIGHT)->checked);
        QVERIFY(!Find(items2, ID_EDIT_CURRENT_PAGE)->enabled);
        const QList<Item> db2 = ItemsOf(*second->findChild<QMenu*>(QStringLiteral("databaseMenu")));
        QVERIFY(!Find(db2, ID_DB_INFO)->enabled && !Find(db2, ID_DB_EXPORT_XML)->enabled);
        QVERIFY(!Find(db2, ID_DB_REBUILD)->enabled);
    }

    void TitlesOnlyGreysTheQueryLanguageWhichKeepsItsMark() {
        std::unique_ptr<QMenu> menu = BuildSearchOptionsMenu(nullptr, {true, false, true});
        const QList<Item> items = ItemsOf(*menu);
        QCOMPARE(TextsOf(items), QStringList({"Только в заголовках", "Похожие слова",
                                              "Использовать язык запросов"}));
        QVERIFY(Find(items, ID_TITLES_ONLY)->checked);
        QVERIFY(!Find(items, ID_RELATED_WORDS)->checked);
        QVERIFY(Find(items, ID_QUERY_LANGUAGE)->checked);
        QVERIFY(!Find(items, ID_QUERY_LANGUAGE)->enabled);
        const QList<Item> free = ItemsOf(*BuildSearchOptionsMenu(nullptr, {false, true, false}));
        QVERIFY(Find(free, ID_QUERY_LANGUAGE)->enabled && !Find(free, ID_QUERY_LANGUAGE)->checked);
        QVERIFY(Find(free, ID_RELATED_WORDS)->checked);
    }

    void TextSizeMenuMarksOnlyTheCurrentSize() {
        for (int size = 0; size < 5; ++size) {
            const QList<Item> items = ItemsOf(*BuildTextSizeMenu(nullptr, size));
            QCOMPARE(TextsOf(items), QStringList({"Самый мелкий", "Мелкий", "Средний", "Крупный",
                                                  "Самый крупный"}));
            for (int i = 0; i < 5; ++i) {
                QCOMPARE(items[i].command, int(ID_ZOOM_0) + i);
                QCOMPARE(items[i].checked, i == size);
            }
        }
    }

    void DropDownOpensBelowTheButtonRightEdgesAlignedAndReturnsTheChoice() {
        QCOMPARE(DropDownPosition(QRect(500, 40, 30, 24), 200), QPoint(330, 64));
        std::unique_ptr<QMenu> menu = BuildTextSizeMenu(nullptr, 2);
        QRect shown;
        QTimer::singleShot(0, [&] {
            auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            QVERIFY(popup);
            shown = popup->geometry();
            popup->setActiveAction(popup->actions().at(3));
            QTest::keyClick(popup, Qt::Key_Return);
        });
        QCOMPARE(RunDropDown(*menu, QRect(600, 100, 30, 20)), int(ID_ZOOM_3));
        QCOMPARE(shown.right(), 629);
        QCOMPARE(shown.top(), 120);
        QTimer::singleShot(0, [] { QApplication::activePopupWidget()->close(); });
        QCOMPARE(RunDropDown(*menu, QRect(600, 100, 30, 20)), 0);
    }

    void EveryKeyOfATableReachesItsCommand_data() {
        QTest::addColumn<int>("table");
        QTest::newRow("navigator") << 0;
        QTest::newRow("browser") << 1;
        QTest::newRow("favorites") << 3;
    }

    void EveryKeyOfATableReachesItsCommand() {
        QFETCH(int, table);
        const std::span<const KeyBinding> keys = table == 0   ? NavigatorKeys()
                                                 : table == 1 ? BrowserKeys()
                                                              : FavoritesKeys();
        KeyWindow w(keys, Qt::WidgetWithChildrenShortcut);
        QVERIFY(QTest::qWaitForWindowActive(&w.window));
        QList<int> expected;
        for (const KeyBinding& binding : keys) {
            const QKeyCombination key = binding.keys[0];
            QTest::keyClick(w.child, key.key(), key.keyboardModifiers());
            expected.append(binding.command);
        }
        QCOMPARE(w.fired, expected);
        // The actions carry their command numbers.
        for (const KeyBinding& binding : keys) {
            auto* action =
                w.child->findChild<QAction*>(QStringLiteral("key_%1").arg(binding.command));
            QVERIFY(action);
            QCOMPARE(action->data().toInt(), binding.command);
            QVERIFY(action->shortcuts().contains(binding.keys));
        }
    }

    void KeypadKeysAreToldApart() {
        KeyWindow browser(BrowserKeys(), Qt::WidgetWithChildrenShortcut);
        QVERIFY(QTest::qWaitForWindowActive(&browser.window));
        // Ctrl with the + and - of the main keyboard are not the keypad's keys.
        QTest::keyClick(browser.child, Qt::Key_Plus, Qt::ControlModifier);
        QTest::keyClick(browser.child, Qt::Key_Minus, Qt::ControlModifier);
        QCOMPARE(browser.fired, QList<int>());
        QTest::keyClick(browser.child, Qt::Key_Minus, Qt::ControlModifier | Qt::KeypadModifier);
        QCOMPARE(browser.fired, QList<int>({ID_ZOOM_OUT}));
        browser.window.close();

        KeyWindow favorites(FavoritesKeys(), Qt::WidgetWithChildrenShortcut);
        QVERIFY(QTest::qWaitForWindowActive(&favorites.window));
        // The keypad's Enter is Enter as well; Enter without Ctrl is no command.
        QTest::keyClick(favorites.child, Qt::Key_Enter, Qt::ControlModifier | Qt::KeypadModifier);
        QTest::keyClick(favorites.child, Qt::Key_Return);
        QTest::keyClick(favorites.child, Qt::Key_PageDown);
        QCOMPARE(favorites.fired, QList<int>({ID_FAV_EDIT}));

        QKeyEvent keypadPlus(QEvent::KeyPress, Qt::Key_Plus,
                             Qt::ControlModifier | Qt::KeypadModifier);
        QKeyEvent mainPlus(QEvent::KeyPress, Qt::Key_Plus, Qt::ControlModifier);
        QCOMPARE(CommandOfKey(BrowserKeys(), keypadPlus), int(ID_ZOOM_IN));
        QCOMPARE(CommandOfKey(BrowserKeys(), mainPlus), 0);
        QKeyEvent shiftInsert(QEvent::KeyPress, Qt::Key_Insert, Qt::ShiftModifier);
        QCOMPARE(CommandOfKey(SearchEditKeys(), shiftInsert), int(ID_EDIT_PASTE));
        QKeyEvent ctrlShiftC(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(CommandOfKey(SearchEditKeys(), ctrlShiftC), 0);
    }

    void ModelInfoShowsTheModelsFoldersAndCounts() {
        const std::u16string html = u"/kb/папка", data = u"/data/Kestrova/1";
        ModelInfo info;
        info.htmlFolder = html.c_str();
        info.dataFolder = data.c_str();
        info.pages = 1234;
        info.domains = 3;
        info.chapters = 17;
        info.keywords = 0;
        CModelInfoDlg dialog(nullptr, info);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Информация о базе данных"));
        auto field = [&](const char* name) {
            auto* edit = dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
            return edit && edit->isReadOnly() ? edit->text() : QStringLiteral("<missing>");
        };
        QCOMPARE(field("infoHtmlFolder"), QStringLiteral("/kb/папка"));
        QCOMPARE(field("infoPages"), QStringLiteral("1234"));
        QCOMPARE(field("infoDataFolder"), QStringLiteral("/data/Kestrova/1"));
        QCOMPARE(field("infoDomains"), QStringLiteral("3"));
        QCOMPARE(field("infoChapters"), QStringLiteral("17"));
        QCOMPARE(field("infoKeywords"), QStringLiteral("0"));
    }

    void AboutNamesTheEngineAndItsChromiumVersion() {
        CAboutDlg dialog(nullptr);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Информация о версии"));
        auto text = [&](const char* name) {
            auto* label = dialog.findChild<QLabel*>(QString::fromLatin1(name));
            return label ? label->text() : QStringLiteral("<missing>");
        };
        QCOMPARE(text("aboutTitle"), QStringLiteral("Кестрова"));
        QCOMPARE(text("aboutVersion"), QStringLiteral("Версия 1.1"));
        QCOMPARE(text("aboutBrowserLabel"), QStringLiteral("Используется Qt WebEngine версии:"));
        const QString version = text("aboutBrowserVersion");
        QVERIFY2(version.startsWith(QString::fromLatin1(qWebEngineVersion()) + " (Chromium "),
                 qPrintable(version));
        QVERIFY(version.contains(QString::fromLatin1(qWebEngineChromiumVersion())));
        auto* icon = dialog.findChild<QLabel*>(QStringLiteral("aboutIcon"));
        QVERIFY(icon && !icon->pixmap().isNull());
    }
};

KESTROVA_SHELL_TEST_MAIN(MenusTest)

#include "menus_test.moc"
