#include "shell/app/process_setup.h"

#include <QCoreApplication>

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
    // Command links ("cmd:...") are left unregistered on purpose: the browser hands a link of a
    // scheme it does not know to the page's navigation check (CBrowserPage), on the user's
    // gesture. A registered scheme without a handler of its own is refused by the renderer
    // before any check sees it.

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
