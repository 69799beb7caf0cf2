// The launcher's decisions with its message box, PDF check and process start replaced by
// recorders; then the real services on their own: the PDF check against stand-in xdg-mime
// commands, the detached start of a real process, the real message box.
#include "launcher/launcher_texts.h"
#include "launcher/message_box.h"
#include "launcher/pdf_reader_check.h"
#include "launcher/process_starter.h"
#include "launcher/veltralauncher_app.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

#include <utility>

using namespace kestrova;

namespace {

// What the launcher did, in order: "box <icon> <text>", "pdf", "start".
using Events = QStringList;

class RecordingBox final : public IMessageBox {
public:
    explicit RecordingBox(Events& events) : events_(events) {}
    void Show(const QString& text, QMessageBox::Icon icon) override {
        events_ << QStringLiteral("box %1 %2").arg(int(icon)).arg(text);
    }

private:
    Events& events_;
};

class FixedPdfReader final : public IPdfReaderCheck {
public:
    FixedPdfReader(Events& events, bool installed) : events_(events), installed_(installed) {}
    bool IsInstalled() override {
        events_ << QStringLiteral("pdf");
        return installed_;
    }

private:
    Events& events_;
    bool installed_;
};

class RecordingStarter final : public IProcessStarter {
public:
    RecordingStarter(Events& events, bool succeed) : events_(events), succeed_(succeed) {}
    bool StartDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory, QString* error) override {
        events_ << QStringLiteral("start");
        this->program = program;
        this->arguments = arguments;
        this->workingDirectory = workingDirectory;
        if (!succeed_ && error) *error = QStringLiteral("refused by the test");
        return succeed_;
    }
    QString program;
    QStringList arguments;
    QString workingDirectory;

private:
    Events& events_;
    bool succeed_;
};

QString BoxEvent(QMessageBox::Icon icon, const QString& text) {
    return QStringLiteral("box %1 %2").arg(int(icon)).arg(text);
}

void WriteScript(const QString& path, const QByteArray& body) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

// A launcher folder with an executable file named like the viewer (it is never run here).
struct Installation {
    QTemporaryDir root;
    QString launcherFolder;
    QString currentDirectory;

    explicit Installation(bool withViewer) {
        launcherFolder = root.filePath(QStringLiteral("bin"));
        currentDirectory = root.filePath(QStringLiteral("elsewhere"));
        QDir().mkpath(launcherFolder);
        QDir().mkpath(currentDirectory);
        if (withViewer) WriteScript(QDir(launcherFolder).filePath("kestrova"), "exit 0\n");
    }
};

}  // namespace

class LauncherAppTest : public QObject {
    Q_OBJECT
private slots:
    void viewerMissingShowsOnlyTheMissingComponents();
    void noPdfReaderWarnsThenStartsTheViewer();
    void startsTheViewerWithItsExactCommandLine();
    void viewerThatDoesNotStartIsReportedAsMissingComponents();
    void pdfReaderIsTheDesktopsDefaultApplication();
    void detachedStartPassesArgumentsAndDirectoryUntouched();
    void messageBoxIsOwnerlessModalAndOnTop();
};

void LauncherAppTest::viewerMissingShowsOnlyTheMissingComponents() {
    Installation install(false);
    Events events;
    RecordingBox box(events);
    FixedPdfReader noReader(events, false);
    RecordingStarter starter(events, true);
    CVeltralauncherApp app({box, noReader, starter}, install.launcherFolder,
                           install.currentDirectory);
    QVERIFY(!app.InitInstance());
    QCOMPARE(app.Outcome(), LaunchOutcome::ViewerMissing);
    QCOMPARE(events, Events{BoxEvent(QMessageBox::Critical, launcher_texts::kMissingComponents)});
}

void LauncherAppTest::noPdfReaderWarnsThenStartsTheViewer() {
    Installation install(true);
    Events events;
    RecordingBox box(events);
    FixedPdfReader noReader(events, false);
    RecordingStarter starter(events, true);
    CVeltralauncherApp app({box, noReader, starter}, install.launcherFolder,
                           install.currentDirectory);
    QVERIFY(!app.InitInstance());
    QCOMPARE(app.Outcome(), LaunchOutcome::ViewerStarted);
    // The warning is closed before the viewer starts, and the viewer starts all the same.
    const Events expected{QStringLiteral("pdf"),
                          BoxEvent(QMessageBox::Information, launcher_texts::kNoPdfReader),
                          QStringLiteral("start")};
    QCOMPARE(events, expected);
}

void LauncherAppTest::startsTheViewerWithItsExactCommandLine() {
    Installation install(true);
    Events events;
    RecordingBox box(events);
    FixedPdfReader reader(events, true);
    RecordingStarter starter(events, true);
    // A folder given with a trailing separator still gives one separator before the name.
    CVeltralauncherApp app({box, reader, starter}, install.launcherFolder + "/",
                           install.currentDirectory);
    QVERIFY(!app.InitInstance());
    QCOMPARE(app.Outcome(), LaunchOutcome::ViewerStarted);
    QCOMPARE(events, (Events{"pdf", "start"}));
    const QString viewer = install.launcherFolder + "/kestrova";
    QCOMPARE(starter.program, viewer);
    QCOMPARE(starter.arguments, (QStringList{"kb\\index-law.html", "/domain=law"}));
    QCOMPARE(starter.workingDirectory, install.currentDirectory);
    QCOMPARE(CVeltralauncherApp::ViewerCommandLine(viewer),
             (QStringList{viewer, "kb\\index-law.html", "/domain=law"}));
}

void LauncherAppTest::viewerThatDoesNotStartIsReportedAsMissingComponents() {
    Installation install(true);
    Events events;
    RecordingBox box(events);
    FixedPdfReader reader(events, true);
    RecordingStarter failing(events, false);
    CVeltralauncherApp app({box, reader, failing}, install.launcherFolder,
                           install.currentDirectory);
    QVERIFY(!app.InitInstance());
    QCOMPARE(app.Outcome(), LaunchOutcome::ViewerFailed);
    const Events expected{"pdf", "start",
                          BoxEvent(QMessageBox::Critical, launcher_texts::kMissingComponents)};
    QCOMPARE(events, expected);
}

void LauncherAppTest::pdfReaderIsTheDesktopsDefaultApplication() {
    QTemporaryDir dir;
    const QDir scripts(dir.path());
    // The arguments must be exactly the query for PDF documents.
    WriteScript(scripts.filePath("named"),
                "[ \"$*\" = 'query default application/pdf' ] || exit 9\n"
                "echo org.gnome.Evince.desktop\n");
    WriteScript(scripts.filePath("none"), "exit 0\n");
    WriteScript(scripts.filePath("blank"), "echo '   '\n");
    WriteScript(scripts.filePath("failing"), "echo reader.desktop; exit 4\n");
    WriteScript(scripts.filePath("crashing"), "echo reader.desktop; kill -9 $$\n");
    QVERIFY(CXdgPdfReaderCheck(scripts.filePath("named")).IsInstalled());
    QVERIFY(!CXdgPdfReaderCheck(scripts.filePath("none")).IsInstalled());
    QVERIFY(!CXdgPdfReaderCheck(scripts.filePath("blank")).IsInstalled());
    QVERIFY(!CXdgPdfReaderCheck(scripts.filePath("failing")).IsInstalled());
    QVERIFY(!CXdgPdfReaderCheck(scripts.filePath("crashing")).IsInstalled());
    QVERIFY(!CXdgPdfReaderCheck(scripts.filePath("no-such-xdg-mime")).IsInstalled());
}

void LauncherAppTest::detachedStartPassesArgumentsAndDirectoryUntouched() {
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath("work dir"));
    const QString record = root.filePath("record.txt");
    // The record appears whole (renamed into place) once the process has written it.
    WriteScript(root.filePath("program with \"quotes\""),
                "{ pwd; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > \"$1.part\"\n"
                "mv \"$1.part\" \"$1\"\n");
    CDetachedProcessStarter starter;
    const QStringList arguments{record, "kb\\index-law.html", "/domain=law", "two words"};
    QString error;
    QVERIFY2(starter.StartDetached(root.filePath("program with \"quotes\""), arguments,
                                   root.filePath("work dir"), &error),
             qPrintable(error));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 20000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    QCOMPARE(lines, QStringList{QDir(root.filePath("work dir")).canonicalPath()} + arguments);

    QVERIFY(!starter.StartDetached(root.filePath("absent"), {}, root.path(), &error));
    QVERIFY(!error.isEmpty());
}

void LauncherAppTest::messageBoxIsOwnerlessModalAndOnTop() {
    // The real box, looked at while it is shown and then closed as a user would.
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::WindowModality modality = Qt::NonModal;
    bool onTop = false, ownerless = false, seen = false;
    QTimer poll;
    connect(&poll, &QTimer::timeout, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        modality = box->windowModality();
        onTop = box->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        ownerless = box->parent() == nullptr;
        box->button(QMessageBox::Ok)->click();
    });
    poll.start(20);
    CLauncherMessageBox().Show(launcher_texts::kNoPdfReader, QMessageBox::Information);
    poll.stop();
    QVERIFY(seen);
    QCOMPARE(title, QStringLiteral("Вельтра"));
    QCOMPARE(text, launcher_texts::kNoPdfReader);
    QCOMPARE(icon, QMessageBox::Information);
    QCOMPARE(modality, Qt::ApplicationModal);
    QVERIFY(onTop);
    QVERIFY(ownerless);
}

QTEST_MAIN(LauncherAppTest)
#include "launcher_app_test.moc"
