// Support for the shell's Qt Test programs.
//
// KESTROVA_SHELL_TEST_MAIN(TestClass) is the `main` of a test program: it points
// XDG_DATA_HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR at a new temporary folder, prepares the
// process as the viewer does, makes the QApplication and runs the test class.
#pragma once

#include <QApplication>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace kestrova {
class CBrowserWnd;
class CMainFrame;
class CNavApp;
class CPagiroWnd_impl_;
}  // namespace kestrova

namespace kestrova::test {

// The temporary home of the running test program (valid inside the test functions).
const QTemporaryDir& TestHome();

// Copies the sample knowledge base into a new folder under the test home and returns its
// absolute path. Each call gives a fresh copy.
QString CopySampleKb();

// Writes `text` (UTF-8) to `path`, making its folders; fails the test on error.
void WriteFile(const QString& path, const QByteArray& bytes);

// A viewer started in-process as the program starts it, with its frames and windows.
struct Viewer {
    Viewer();
    ~Viewer();
    std::unique_ptr<CNavApp> app;
    CMainFrame* Frame(size_t i = 0) const;
    CPagiroWnd_impl_& Nav(size_t i = 0) const;
    CBrowserWnd& Browser(size_t i = 0) const;
};

// Starts a viewer in `currentDir` with the command line `args`; null, with a warning giving the
// reason, when it refuses to start.
std::unique_ptr<Viewer> StartViewer(const QString& currentDir, const QStringList& args);

// The file: URL of a local path, as text.
QString FileUrl(const QString& path);

// True when `browser` shows the page whose path ends with `fileName`, with its own title.
bool PageLoaded(const CBrowserWnd* browser, const QString& fileName);

int RunShellTest(int argc, char** argv, QObject& test);

}  // namespace kestrova::test

#define KESTROVA_SHELL_TEST_MAIN(TestClass)                    \
    int main(int argc, char** argv) {                          \
        TestClass test;                                        \
        return kestrova::test::RunShellTest(argc, argv, test); \
    }
