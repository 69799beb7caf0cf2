#include "shell/app/process_setup.h"

#include <QCoreApplication>
#include <QWebEngineUrlScheme>

#include <unistd.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace kestrova {
namespace {

// Adds `flag` to QTWEBENGINE_CHROMIUM_FLAGS unless it is there already.
void AddChromiumFlag(const char* flag) {
    const char* old = std::getenv("QTWEBENGINE_CHROMIUM_FLAGS");
    std::string flags = old ? old : "";
    if (flags.find(flag) != std::string::npos) return;
    if (!flags.empty()) flags += ' ';
    flags += flag;
    setenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.c_str(), 1);
}

}  // namespace

void PrepareShellProcess() {
    // Command links ("cmd:...") are navigations the pages' navigation check decides on; the
    // scheme must be known before the browser starts.
    QWebEngineUrlScheme cmd("cmd");
    cmd.setSyntax(QWebEngineUrlScheme::Syntax::Path);
    cmd.setFlags(QWebEngineUrlScheme::LocalScheme | QWebEngineUrlScheme::NoAccessAllowed);
    QWebEngineUrlScheme::registerScheme(cmd);

    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    if (geteuid() == 0) {
        const char* off = std::getenv("QTWEBENGINE_DISABLE_SANDBOX");
        if (!off || std::strcmp(off, "1") != 0) {
            std::fputs("kestrova: running as root, the browser runs without its sandbox\n", stderr);
            setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 1);
        }
        AddChromiumFlag("--disable-gpu");
    }
}

}  // namespace kestrova
