// The search box: Enter, the history list and the edit field's own keys.
#include "shell/app/history_list.h"
#include "shell/tests/shell_test_support.h"
#include "shell/toolbar/search_combo_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QLineEdit>
#include <QObject>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using namespace kestrova;

namespace {

// A dialog with the search box and a default button, the way Enter could go astray.
struct Window {
    QDialog dialog;
    CSearchComboBox* box;
    QPushButton* defaultButton;

    Window() {
        auto* layout = new QVBoxLayout(&dialog);
        box = new CSearchComboBox(&dialog);
        defaultButton = new QPushButton(QStringLiteral("OK"), &dialog);
        defaultButton->setDefault(true);
        layout->addWidget(box);
        layout->addWidget(defaultButton);
    }

    bool Show() {
        dialog.show();
        dialog.activateWindow();
        box->setFocus();
        return QTest::qWaitForWindowActive(&dialog);
    }
};

HistoryList History(const QStringList& items) {
    HistoryList history;
    for (auto it = items.rbegin(); it != items.rend(); ++it) history.Add(*it);
    return history;
}

}  // namespace

class SearchBoxTest : public QObject {
    Q_OBJECT
private slots:
    void EnterEmitsOnceAndGoesNoFurther() {
        Window w;
        QVERIFY(w.Show());
        // With the typed text in the history, the box itself would take Enter as the choice
        // of that entry: a second reaction to the same key.
        w.box->RefillHistory(History({QStringLiteral("ustav"), QStringLiteral("dogovor")}));
        QSignalSpy enter(w.box, &CSearchComboBox::SEN_ENTER);
        QSignalSpy activated(w.box, &QComboBox::activated);
        QSignalSpy returnPressed(w.box->lineEdit(), &QLineEdit::returnPressed);
        QSignalSpy accepted(&w.dialog, &QDialog::accepted);
        QTest::keyClicks(w.box, QStringLiteral("dogovor"));
        QTest::keyClick(w.box, Qt::Key_Return);
        QCOMPARE(enter.size(), 1);
        QTest::keyClick(w.box, Qt::Key_Enter, Qt::KeypadModifier);
        QCOMPARE(enter.size(), 2);
        QCOMPARE(activated.size(), 0);
        QCOMPARE(returnPressed.size(), 0);
        QCOMPARE(accepted.size(), 0);
        QVERIFY(w.dialog.isVisible());
        QCOMPARE(w.box->count(), 2);  // nothing added to the history list
        QCOMPARE(w.box->currentIndex(), -1);
        QCOMPARE(w.box->Text(), QStringLiteral("dogovor"));
    }

    void TypingCompletesNothing() {
        Window w;
        QVERIFY(w.Show());
        w.box->RefillHistory(History({QStringLiteral("dogovor arendy")}));
        QTest::keyClicks(w.box, QStringLiteral("dog"));
        QCOMPARE(w.box->Text(), QStringLiteral("dog"));
    }

    void RefillKeepsTheEditText() {
        Window w;
        QVERIFY(w.Show());
        w.box->lineEdit()->insert(QStringLiteral("ввод"));
        w.box->RefillHistory(History({QStringLiteral("a"), QStringLiteral("b")}));
        QCOMPARE(w.box->count(), 2);
        QCOMPARE(w.box->itemText(0), QStringLiteral("a"));
        QCOMPARE(w.box->itemText(1), QStringLiteral("b"));
        QCOMPARE(w.box->Text(), QStringLiteral("ввод"));
        QCOMPARE(w.box->lineEdit()->cursorPosition(), 4);

        w.box->RefillHistory(HistoryList());
        QCOMPARE(w.box->count(), 1);
        QCOMPARE(w.box->itemText(0), QString());
        QCOMPARE(w.box->Text(), QStringLiteral("ввод"));

        // An empty field stays empty even though the list has entries.
        w.box->lineEdit()->clear();
        w.box->RefillHistory(History({QStringLiteral("a")}));
        QCOMPARE(w.box->Text(), QString());
    }

    void EditKeysWorkAheadOfWindowShortcuts() {
        Window w;
        // Window shortcuts on the same keys must not take them from the field.
        QAction paste(&w.dialog);
        paste.setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::CTRL | Qt::Key_C),
                            QKeySequence(Qt::SHIFT | Qt::Key_Insert)});
        paste.setShortcutContext(Qt::WindowShortcut);
        w.dialog.addAction(&paste);
        QSignalSpy stolen(&paste, &QAction::triggered);
        QVERIFY(w.Show());
        QLineEdit* edit = w.box->lineEdit();
        QClipboard* clipboard = QApplication::clipboard();

        w.box->lineEdit()->insert(QStringLiteral("альфа бета"));
        edit->setSelection(0, 5);
        QTest::keyClick(w.box, Qt::Key_C, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), QStringLiteral("альфа"));

        edit->setSelection(6, 4);
        QTest::keyClick(w.box, Qt::Key_Insert, Qt::ControlModifier);
        QTRY_COMPARE(clipboard->text(), QStringLiteral("бета"));

        edit->setSelection(0, 6);
        QTest::keyClick(w.box, Qt::Key_Delete, Qt::ShiftModifier);  // cut
        QCOMPARE(edit->text(), QStringLiteral("бета"));
        QTRY_COMPARE(clipboard->text(), QStringLiteral("альфа "));

        edit->setCursorPosition(4);
        QTest::keyClick(w.box, Qt::Key_Insert, Qt::ShiftModifier);  // paste
        QCOMPARE(edit->text(), QStringLiteral("бетаальфа "));

        QTest::keyClick(w.box, Qt::Key_Z, Qt::ControlModifier);  // undo the paste
        QCOMPARE(edit->text(), QStringLiteral("бета"));

        edit->selectAll();
        QTest::keyClick(w.box, Qt::Key_X, Qt::ControlModifier);
        QCOMPARE(edit->text(), QString());
        QTRY_COMPARE(clipboard->text(), QStringLiteral("бета"));
        QTest::keyClick(w.box, Qt::Key_V, Qt::ControlModifier);
        QCOMPARE(edit->text(), QStringLiteral("бета"));

        QCOMPARE(stolen.size(), 0);
    }
};

KESTROVA_SHELL_TEST_MAIN(SearchBoxTest)
#include "toolbar_search_box_test.moc"
