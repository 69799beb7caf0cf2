#include "launcher/veltralauncher_app.h"

#include "launcher/launcher_texts.h"

#include <QDir>
#include <QFileInfo>

#include <cstdio>
#include <utility>

namespace kestrova {

CVeltralauncherApp::CVeltralauncherApp(LauncherServices services, QString launcherFolder,
                                       QString currentDirectory)
    : services_(services),
      launcherFolder_(std::move(launcherFolder)),
      currentDirectory_(std::move(currentDirectory)) {}

bool CVeltralauncherApp::InitInstance() {
    outcome_ = Launch();
    return false;
}

QString CVeltralauncherApp::ViewerPath(const QString& launcherFolder) {
    return QDir(launcherFolder).filePath(launcher_texts::kViewerFileName);
}

QStringList CVeltralauncherApp::ViewerCommandLine(const QString& viewerPath) {
    return {viewerPath, launcher_texts::kStartPage, launcher_texts::kDomainSwitch};
}

LaunchOutcome CVeltralauncherApp::Launch() {
    const QString viewer = ViewerPath(launcherFolder_);
    // Without the viewer there is nothing to warn about: only the missing components are named.
    if (!QFileInfo::exists(viewer)) {
        std::fprintf(stderr, "veltralauncher: the viewer is missing: %s\n", qPrintable(viewer));
        services_.messageBox.Show(launcher_texts::kMissingComponents, QMessageBox::Critical);
        return LaunchOutcome::ViewerMissing;
    }
    // Some pages of the reference are PDF documents; without a reader the rest still works.
    if (!services_.pdfReader.IsInstalled()) {
        services_.messageBox.Show(launcher_texts::kNoPdfReader, QMessageBox::Information);
    }
    // The start page is relative: the viewer finds it, and its page folder, in the current
    // directory it inherits from here. The viewer places its own frame, maximized or not, from
    // its stored placement; there is no start-up show state to hand over on this platform.
    const QStringList commandLine = ViewerCommandLine(viewer);
    QString error;
    if (!services_.processStarter.StartDetached(commandLine.front(), commandLine.mid(1),
                                                currentDirectory_, &error)) {
        std::fprintf(stderr, "veltralauncher: cannot start the viewer: %s: %s\n",
                     qPrintable(viewer), qPrintable(error));
        services_.messageBox.Show(launcher_texts::kMissingComponents, QMessageBox::Critical);
        return LaunchOutcome::ViewerFailed;
    }
    return LaunchOutcome::ViewerStarted;
}

}  // namespace kestrova
