// kestrova: the viewer. Usage: kestrova [START_PAGE] [/domain=TAG] [/folder=FOLDER]
#include "shell/app/nav_app.h"
#include "shell/app/process_setup.h"
#include "shell/app/ready_screenshot.h"
#include "shell/texts.h"

#include <QApplication>
#include <QStringList>

#include <cstdio>

int main(int argc, char** argv) {
    kestrova::PrepareShellProcess();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrova"));
    QApplication::setApplicationDisplayName(kestrova::texts::kAppTitle);
    QApplication::setDesktopFileName(QStringLiteral("kestrova"));
    int status = 0;
    {
        kestrova::CNavApp navApp;
        QString error;
        if (!navApp.InitInstance(app.arguments().mid(1), &error)) {
            std::fprintf(stderr, "kestrova: %s\n", qPrintable(error));
            return 1;
        }
        const QString screenshot = qEnvironmentVariable("KESTROVA_SCREENSHOT");
        if (!screenshot.isEmpty()) kestrova::ScreenshotWhenReady(navApp, screenshot, 120000);
        status = QApplication::exec();
    }
    return status;
}
