#include "shell/tests/shell_test_support.h"

#include "shell/app/main_frame.h"
#include "shell/app/nav_app.h"
#include "shell/app/process_setup.h"
#include "shell/app/scene_graph_backend.h"
#include "shell/browser/browser_wnd.h"
#include "shell/nav/pagiro_wnd.h"
#include "shell/nav/pagiro_wnd_impl.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <cstdlib>
#include <memory>

namespace kestrova::test {
namespace {

std::unique_ptr<QTemporaryDir> g_home;
int g_copies = 0;

void CopyTree(const QString& from, const QString& to) {
    QDir().mkpath(to);
    QDirIterator it(from, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        QString path = it.next();
        QString target = to + path.mid(from.size());
        if (it.fileInfo().isDir()) {
            QDir().mkpath(target);
        } else if (!QFile::copy(path, target)) {
            qFatal("cannot copy %s to %s", qPrintable(path), qPrintable(target));
        }
    }
}

}  // namespace

const QTemporaryDir& TestHome() { return *g_home; }

QString CopySampleKb() {
    QString target = g_home->path() + QStringLiteral("/kb%1").arg(++g_copies);
    CopyTree(QStringLiteral(KESTROVA_SAMPLE_KB), target);
    return target;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        qFatal("cannot write %s", qPrintable(path));
    }
}

Viewer::Viewer() = default;
Viewer::~Viewer() = default;

CMainFrame* Viewer::Frame(size_t i) const { return app->Frames().at(i); }

CPagiroWnd_impl_& Viewer::Nav(size_t i) const { return Frame(i)->NavWindow()->Impl(); }

CBrowserWnd& Viewer::Browser(size_t i) const { return *Nav(i).Browser(); }

std::unique_ptr<Viewer> StartViewer(const QString& currentDir, const QStringList& args) {
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

QString FileUrl(const QString& path) { return QUrl::fromLocalFile(path).toString(); }

bool PageLoaded(const CBrowserWnd* browser, const QString& fileName) {
    const QString url = browser->CurrentURL();
    const QString title = browser->CurrentTitle();
    // Until the page's own title has come, the browser gives the address's file name.
    return QUrl(url).toLocalFile().endsWith(fileName) && !title.isEmpty() && !url.endsWith(title);
}

int RunShellTest(int argc, char** argv, QObject& test) {
    g_home = std::make_unique<QTemporaryDir>();
    if (!g_home->isValid()) qFatal("no temporary folder");
    const QByteArray home = g_home->path().toUtf8();
    setenv("XDG_DATA_HOME", (home + "/data").constData(), 1);
    setenv("XDG_CONFIG_HOME", (home + "/config").constData(), 1);
    QDir().mkpath(g_home->path() + "/runtime");
    QFile::setPermissions(g_home->path() + "/runtime",
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    setenv("XDG_RUNTIME_DIR", (home + "/runtime").constData(), 1);
    PrepareShellProcess();
    int result;
    {
        QApplication app(argc, argv);
        ChooseSceneGraphBackend();  // as the viewer does, also for tests without a navigator
        result = QTest::qExec(&test, argc, argv);
    }
    g_home.reset();
    return result;
}

}  // namespace kestrova::test
