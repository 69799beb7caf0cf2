// The navigator's toolbar: its positions, texts, drop-down arrows, enable state and where the
// two boxes sit.
#include "shell/commands.h"
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_toolbar.h"
#include "shell/toolbar/search_combo_box.h"

#include <QAction>
#include <QObject>
#include <QSignalSpy>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <memory>

using namespace kestrova;

namespace {

struct Expected {
    const char* name;  // objectName of the widget at the position, "-" for a separator
    QString tooltip;
};

const Expected kExpected[] = {
    {"button_32771", QStringLiteral("Назад")},
    {"button_32772", QStringLiteral("Вперед")},
    {"-", {}},
    {"button_32773", QStringLiteral("Содержание")},
    {"button_32774", QStringLiteral("Указатель")},
    {"-", {}},
    {"button_32777", QStringLiteral("Найти текст на странице")},
    {"button_32775", QStringLiteral("Найти страницу в содержании")},
    {"button_32781", QStringLiteral("Добавить страницу в \"Избранное\"")},
    {"-", {}},
    {"button_32782", QStringLiteral("Размер шрифта")},
    {"searchBoxPlace", {}},
    {"button_32776", QStringLiteral("Поиск")},
    {"domainBoxPlace", {}},
    {"-", {}},
    {"button_32778", QStringLiteral("Печать текущей страницы")},
    {"-", {}},
    {"button_32779", QStringLiteral("Меню")},
};

const int kTextButtons[] = {ID_GO_BACK, ID_GO_FORWARD, ID_SEARCH, ID_MAIN_MENU};

// A shown toolbar wide enough for every position.
std::unique_ptr<CNavToolBar> ShownToolBar(bool showText) {
    auto bar = std::make_unique<CNavToolBar>(nullptr, showText);
    bar->resize(1400, bar->StripHeight());
    bar->show();
    if (!QTest::qWaitForWindowExposed(bar.get())) return nullptr;
    return bar;
}

QWidget* Place(CNavToolBar& bar, const char* name) {
    return bar.findChild<QWidget*>(QString::fromLatin1(name));
}

}  // namespace

class ToolBarTest : public QObject {
    Q_OBJECT
private slots:
    void PositionsComeInOrderWithTheirTooltips() {
        CNavToolBar bar(nullptr, true);
        QCOMPARE(bar.objectName(), QStringLiteral("toolBar"));
        auto* row = bar.findChild<QToolBar*>();
        QVERIFY(row);
        const QList<QAction*> actions = row->actions();
        QCOMPARE(actions.size(), int(std::size(kExpected)));
        for (int i = 0; i < actions.size(); ++i) {
            const Expected& e = kExpected[i];
            if (QByteArray(e.name) == "-") {
                QVERIFY2(actions[i]->isSeparator(), qPrintable(QString::number(i)));
                continue;
            }
            QWidget* widget = row->widgetForAction(actions[i]);
            QVERIFY(widget);
            QCOMPARE(widget->objectName(), QString::fromLatin1(e.name));
            if (auto* button = qobject_cast<QToolButton*>(widget)) {
                QCOMPARE(button->toolTip(), e.tooltip);
                QCOMPARE(button->accessibleName(), e.tooltip);
                QCOMPARE(button->text(), e.tooltip);
                QVERIFY(!button->icon().isNull());
            }
        }
        QCOMPARE(bar.SearchBox()->parentWidget(), Place(bar, "searchBoxPlace"));
        QCOMPARE(bar.DomainBox()->parentWidget(), Place(bar, "domainBoxPlace"));
    }

    void OnlyFourButtonsEverShowText() {
        auto bar = ShownToolBar(true);
        QVERIFY(bar);
        QVERIFY(bar->ShowText());
        const int backWide = bar->ButtonRect(ID_GO_BACK).width();
        for (const Expected& e : kExpected) {
            auto* button = bar->findChild<QToolButton*>(QString::fromLatin1(e.name));
            if (!button) continue;
            const int command = QString::fromLatin1(e.name).mid(7).toInt();
            const bool mayShow = std::find(std::begin(kTextButtons), std::end(kTextButtons),
                                           command) != std::end(kTextButtons);
            QCOMPARE(button->toolButtonStyle(),
                     mayShow ? Qt::ToolButtonTextBesideIcon : Qt::ToolButtonIconOnly);
        }
        bar->SetShowText(false);
        QVERIFY(!bar->ShowText());
        for (auto* button : bar->findChildren<QToolButton*>()) {
            QCOMPARE(button->toolButtonStyle(), Qt::ToolButtonIconOnly);
        }
        QTRY_VERIFY(bar->ButtonRect(ID_GO_BACK).width() < backWide);
        bar->SetShowText(true);
        QTRY_COMPARE(bar->ButtonRect(ID_GO_BACK).width(), backWide);
    }

    void ClicksEmitCommandsAndArrowsEmitDropDowns() {
        auto bar = ShownToolBar(true);
        QVERIFY(bar);
        QSignalSpy commands(bar.get(), &CNavToolBar::command);
        QSignalSpy dropDowns(bar.get(), &CNavToolBar::dropDown);

        auto click = [&](int command, bool onArrow) {
            CNavToolButton* button = bar->Button(command);
            QPoint at = onArrow ? button->ArrowRect().center() : QPoint(4, button->height() / 2);
            QTest::mouseClick(button, Qt::LeftButton, {}, at);
        };
        click(ID_GO_BACK, false);
        QCOMPARE(commands.size(), 1);
        QCOMPARE(commands.takeFirst().at(0).toInt(), int(ID_GO_BACK));

        for (int command : {ID_SEARCH, ID_FONT_SIZE}) {
            QVERIFY(!bar->Button(command)->ArrowRect().isEmpty());
            click(command, false);
            QCOMPARE(commands.size(), 1);
            QCOMPARE(commands.takeFirst().at(0).toInt(), command);
            QCOMPARE(dropDowns.size(), 0);
            click(command, true);
            QCOMPARE(dropDowns.size(), 1);
            QCOMPARE(dropDowns.takeFirst().at(0).toInt(), command);
            QCOMPARE(commands.size(), 0);
        }
        // The menu button is all drop-down: a click anywhere opens it, and so does the
        // button's own activation (a screen reader's "press").
        click(ID_MAIN_MENU, false);
        QCOMPARE(dropDowns.size(), 1);
        QCOMPARE(dropDowns.takeFirst().at(0).toInt(), int(ID_MAIN_MENU));
        bar->Button(ID_MAIN_MENU)->click();
        QCOMPARE(dropDowns.size(), 1);
        QCOMPARE(commands.size(), 0);
        // Plain buttons have no arrow part.
        QVERIFY(bar->Button(ID_PRINT_PAGE)->ArrowRect().isEmpty());
    }

    void DisabledButtonsStayQuiet() {
        auto bar = ShownToolBar(false);
        QVERIFY(bar);
        QVERIFY(bar->IsButtonEnabled(ID_GO_FORWARD));
        bar->EnableButton(ID_GO_FORWARD, false);
        QVERIFY(!bar->IsButtonEnabled(ID_GO_FORWARD));
        QVERIFY(bar->IsButtonEnabled(ID_GO_BACK));
        QSignalSpy commands(bar.get(), &CNavToolBar::command);
        QTest::mouseClick(bar->Button(ID_GO_FORWARD), Qt::LeftButton);
        QCOMPARE(commands.size(), 0);
        bar->EnableButton(ID_GO_FORWARD, true);
        QTest::mouseClick(bar->Button(ID_GO_FORWARD), Qt::LeftButton);
        QCOMPARE(commands.size(), 1);
        // Commands without a button.
        bar->EnableButton(ID_EDIT_PAGE, true);
        QVERIFY(!bar->IsButtonEnabled(ID_EDIT_PAGE));
        QVERIFY(bar->ButtonRect(ID_EDIT_PAGE).isEmpty());
    }

    void ButtonRectIsTheButtonInToolbarCoordinates() {
        auto bar = ShownToolBar(true);
        QVERIFY(bar);
        QRect previous;
        for (int command : {ID_GO_BACK, ID_FONT_SIZE, ID_SEARCH, ID_MAIN_MENU}) {
            const QRect r = bar->ButtonRect(command);
            QVERIFY(!r.isEmpty());
            QVERIFY(bar->rect().contains(r));
            QCOMPARE(bar->childAt(r.center()), static_cast<QWidget*>(bar->Button(command)));
            QVERIFY(r.left() > previous.right());
            previous = r;
        }
    }

    void BoxesSitInsideTheirPlaces() {
        for (bool showText : {true, false}) {
            auto bar = ShownToolBar(showText);
            QVERIFY(bar);
            const int placeWidth = qRound(200 * bar->logicalDpiX() / 96.0) + 9;
            const struct {
                QComboBox* box;
                const char* place;
                int before, after;  // the commands of the buttons left and right of it
            } boxes[] = {
                {bar->SearchBox(), "searchBoxPlace", ID_FONT_SIZE, ID_SEARCH},
                {bar->DomainBox(), "domainBoxPlace", ID_SEARCH, ID_PRINT_PAGE},
            };
            for (const auto& b : boxes) {
                QWidget* place = Place(*bar, b.place);
                QCOMPARE(place->width(), placeWidth);
                const QRect box = b.box->geometry();  // in the place's coordinates
                QCOMPARE(box.left(), 7);
                QCOMPARE(box.width(), placeWidth - 9);
                QVERIFY(box.height() <= place->height());
                QVERIFY(qAbs(box.top() - (place->height() - box.bottom() - 1)) <= 1);
                const QRect onBar(place->mapTo(bar.get(), QPoint(0, 0)), place->size());
                QVERIFY(onBar.left() > bar->ButtonRect(b.before).right());
                QVERIFY(onBar.right() < bar->ButtonRect(b.after).left());
                QVERIFY(b.box->isVisible());
            }
            QVERIFY(bar->StripHeight() >= bar->SearchBox()->height());
            QVERIFY(bar->StripHeight() >= bar->ButtonRect(ID_GO_BACK).height());
        }
    }
};

KESTROVA_SHELL_TEST_MAIN(ToolBarTest)
#include "toolbar_test.moc"
