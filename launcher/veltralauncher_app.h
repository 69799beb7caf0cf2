// The launcher of the reference "Вельтра": checks that the viewer is installed next to it, warns
// once when no PDF reader is installed, starts the viewer on the reference's start page and
// category in the current directory, and ends. It keeps no state, writes nothing and never waits
// for the viewer. Everything it touches outside goes through the services it is given.
#pragma once

#include "launcher/message_box.h"
#include "launcher/pdf_reader_check.h"
#include "launcher/process_starter.h"

#include <QString>
#include <QStringList>

namespace kestrova {

struct LauncherServices {
    IMessageBox& messageBox;
    IPdfReaderCheck& pdfReader;
    IProcessStarter& processStarter;
};

enum class LaunchOutcome {
    NotRun,         // InitInstance has not run yet
    ViewerStarted,  // the viewer runs on its own
    ViewerMissing,  // no viewer next to the launcher; the user was told
    ViewerFailed,   // the viewer is there but did not start; the user was told
};

class CVeltralauncherApp {
public:
    // `launcherFolder`: the folder of the launcher's executable. `currentDirectory`: where the
    // viewer runs and looks for its pages. The services must outlive this object.
    CVeltralauncherApp(LauncherServices services, QString launcherFolder, QString currentDirectory);

    // The start routine: the checks, the messages and the start of the viewer, in that order.
    // Always answers false: the launcher has no message loop of its own and ends once this
    // returns. Outcome() tells what happened.
    bool InitInstance();
    LaunchOutcome Outcome() const { return outcome_; }

    // The viewer's path: the launcher's folder and the viewer's file name.
    static QString ViewerPath(const QString& launcherFolder);
    // The viewer's command line, one value per argument: its path, the start page and the
    // category switch.
    static QStringList ViewerCommandLine(const QString& viewerPath);

private:
    LaunchOutcome Launch();

    LauncherServices services_;
    QString launcherFolder_;
    QString currentDirectory_;
    LaunchOutcome outcome_ = LaunchOutcome::NotRun;
};

}  // namespace kestrova
