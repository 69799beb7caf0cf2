// The progress dialog: its texts for each stage, the bar, cancel, and the end when the
// awaited object can no longer come.
#include "shell/dialogs/progress_dlg.h"
#include "shell/tests/shell_test_support.h"

#include <QLabel>
#include <QObject>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

using namespace kestrova;

namespace {

// The window's side of the dialog, as a test sets it.
struct Source : IProgressDlgData_impl_ {
    ExecProgress progress{-1, -1, -1};
    bool abandoned = false;
    QList<CProgressDlg*> attached;  // every Attach call
    int reads = 0;

    void Attach(CProgressDlg* dialog) override { attached.append(dialog); }
    ExecProgress Read() override {
        ++reads;
        return progress;
    }
    bool IsAbandoned() override { return abandoned; }
};

QString Text(CProgressDlg& dialog) {
    return dialog.findChild<QLabel*>(QStringLiteral("progressText"))->text();
}

QProgressBar* Bar(CProgressDlg& dialog) {
    return dialog.findChild<QProgressBar*>(QStringLiteral("progressBar"));
}

}  // namespace

class ProgressDlgTest : public QObject {
    Q_OBJECT
private slots:
    void EachStageHasItsText() {
        const QString query = QStringLiteral("охрана труда");
        auto text = [&](int stage) { return CProgressDlg::StageText({stage, 0, 0}, query); };
        QCOMPARE(text(1), QStringLiteral("Сканирование файлов..."));
        QCOMPARE(text(2), QStringLiteral("Загрузка данных..."));
        QCOMPARE(text(3), QStringLiteral("Выполняется индексирование файлов..."));
        QCOMPARE(text(4), QStringLiteral("Поиск \"охрана труда\"..."));
        for (int other : {-1, 0, 5})
            QCOMPARE(text(other), QStringLiteral("Подождите, пожалуйста..."));
        // A query is shown as typed, placeholders and all.
        QCOMPARE(CProgressDlg::StageText({4, 0, 0}, QStringLiteral("%1 %2")),
                 QStringLiteral("Поиск \"%1 %2\"..."));
    }

    void TheDialogFollowsTheProgress() {
        Source source;
        source.progress = {3, 5, 40};
        CProgressDlg dialog(nullptr, QStringLiteral("Поиск"), QStringLiteral("договор"), source);
        QCOMPARE(dialog.objectName(), QStringLiteral("progressDialog"));
        dialog.open();
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Поиск"));
        QCOMPARE(source.attached, QList<CProgressDlg*>{&dialog});
        // The first state is there at once.
        QCOMPARE(Text(dialog), QStringLiteral("Выполняется индексирование файлов..."));
        QVERIFY(Bar(dialog)->isVisible());
        QCOMPARE(Bar(dialog)->maximum(), 40);
        QCOMPARE(Bar(dialog)->value(), 5);

        source.progress = {4, -1, -1};
        QTRY_COMPARE(Text(dialog), QStringLiteral("Поиск \"договор\"..."));
        QVERIFY(!Bar(dialog)->isVisible());

        source.progress = {-1, -1, -1};
        QTRY_COMPARE(Text(dialog), QStringLiteral("Подождите, пожалуйста..."));
        QVERIFY(!Bar(dialog)->isVisible());

        source.progress = {2, 0, 0};  // a total of 0 is an empty bar, not a busy one
        QTRY_VERIFY(Bar(dialog)->isVisible());
        QVERIFY(Bar(dialog)->maximum() > Bar(dialog)->minimum());
        QCOMPARE(Bar(dialog)->value(), 0);

        dialog.done(QDialog::Accepted);  // what the window does when the object arrives
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(source.attached.last(), nullptr);
        const int reads = source.reads;
        source.abandoned = true;
        QTest::qWait(0);
        QTRY_COMPARE_WITH_TIMEOUT(source.reads, reads, 600);  // the ticks have stopped
    }

    void CancelEndsItRejected() {
        Source source;
        CProgressDlg dialog(nullptr, QStringLiteral("Подготовка справки"), QString(), source);
        QTimer::singleShot(0, &dialog, [&] {
            dialog.findChild<QPushButton*>(QStringLiteral("progressCancel"))->click();
        });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("progressCancel"))->text(),
                 QStringLiteral("Отмена"));
        QCOMPARE(source.attached, (QList<CProgressDlg*>{&dialog, nullptr}));
    }

    void AnAbandonedWaitEndsByItself() {
        Source source;
        source.progress = {2, 10, 100};
        CProgressDlg dialog(nullptr, QStringLiteral("Подготовка справки"), QString(), source);
        QTimer::singleShot(0, &dialog, [&] { source.abandoned = true; });
        QCOMPARE(dialog.exec(), int(QDialog::Rejected));
        QCOMPARE(source.attached, (QList<CProgressDlg*>{&dialog, nullptr}));
    }

    void DestroyingAnOpenDialogDetachesIt() {
        Source source;
        {
            CProgressDlg dialog(nullptr, QStringLiteral("Поиск"), QStringLiteral("x"), source);
            dialog.open();
        }
        QCOMPARE(source.attached.size(), 2);
        QCOMPARE(source.attached.last(), nullptr);
    }
};

KESTROVA_SHELL_TEST_MAIN(ProgressDlgTest)
#include "progress_dlg_test.moc"
