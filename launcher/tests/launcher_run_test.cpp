// The built veltralauncher run as a user would, from a current directory other than its own
// folder, with a stand-in viewer next to it that records where it ran and what it was given.
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void WriteScript(const QString& path, const QByteArray& body) {
    QFile file(path);
    QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(path));
    file.write("#!/bin/sh\n" + body);
    file.close();
    QVERIFY(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
}

}  // namespace

class LauncherRunTest : public QObject {
    Q_OBJECT
private slots:
    void startsTheViewerNextToItInTheCurrentDirectory();
};

void LauncherRunTest::startsTheViewerNextToItInTheCurrentDirectory() {
    QTemporaryDir dir;
    const QDir root(dir.path());
    QVERIFY(root.mkpath("install/bin") && root.mkpath("reference/kb") && root.mkpath("path"));
    const QString bin = root.filePath("install/bin");
    const QString launcher = QDir(bin).filePath("veltralauncher");
    QVERIFY(QFile::copy(KESTROVA_LAUNCHER, launcher));
    QVERIFY(QFile::setPermissions(launcher, QFile::ReadOwner | QFile::ExeOwner));
    const QString record = root.filePath("record.txt");
    // The stand-in viewer: its directory, then $0 and each argument on a line of its own.
    WriteScript(QDir(bin).filePath("kestrova"),
                "{ pwd; for a in \"$0\" \"$@\"; do printf '%s\\n' \"$a\"; done; } "
                "> \"$VIEWER_RECORD.part\"\nmv \"$VIEWER_RECORD.part\" \"$VIEWER_RECORD\"\n");
    // A desktop with a PDF reader, so that no warning waits for a user.
    WriteScript(root.filePath("path/xdg-mime"), "echo org.example.Reader.desktop\n");

    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("VIEWER_RECORD", record);
    env.insert("PATH", root.filePath("path") + ":" + env.value("PATH"));
    QProcess process;
    process.setProcessEnvironment(env);
    process.setWorkingDirectory(root.filePath("reference"));
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.start(launcher, {});
    QVERIFY2(process.waitForFinished(60000), "the launcher did not end by itself");
    QCOMPARE(process.exitStatus(), QProcess::NormalExit);
    QCOMPARE(process.exitCode(), 0);

    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(record), 30000);
    QFile file(record);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    const QStringList expected{QDir(root.filePath("reference")).canonicalPath(),
                               QDir(bin).canonicalPath() + "/kestrova", "kb\\index-law.html",
                               "/domain=law"};
    QCOMPARE(lines, expected);
}

QTEST_GUILESS_MAIN(LauncherRunTest)
#include "launcher_run_test.moc"
