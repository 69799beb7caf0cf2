// veltralauncher: starts the viewer kestrova, installed next to it, on the reference "Вельтра"
// in the current directory (start page kb\index-law.html, category law), then ends. Exit
// status 0 when the viewer was started, 1 when it was not (the user has been told why).
#include "launcher/message_box.h"
#include "launcher/pdf_reader_check.h"
#include "launcher/process_starter.h"
#include "launcher/veltralauncher_app.h"

#include <QApplication>
#include <QDir>
#include <QIcon>

int main(int argc, char** argv) {
    // QApplication reads the launcher's own command line (Qt's options); nothing else of it
    // is used.
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("veltralauncher"));
    QApplication::setDesktopFileName(QStringLiteral("veltralauncher"));
    // The reference's icon from the desktop's icon theme, where the installation puts it.
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("veltra")));

    kestrova::CLauncherMessageBox messageBox;
    kestrova::CXdgPdfReaderCheck pdfReader;
    kestrova::CDetachedProcessStarter processStarter;
    kestrova::CVeltralauncherApp launcher({messageBox, pdfReader, processStarter},
                                          QCoreApplication::applicationDirPath(),
                                          QDir::currentPath());
    launcher.InitInstance();
    return launcher.Outcome() == kestrova::LaunchOutcome::ViewerStarted ? 0 : 1;
}
