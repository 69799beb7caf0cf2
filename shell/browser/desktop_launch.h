// Handing files to the desktop: its default application, the user's editor, its print
// service, or a program of the page folder as a process of its own. Nothing here goes
// through a shell: every program gets its arguments as a list.
//
// User-interface thread.
#pragma once

#include "shell/browser/command_link.h"

#include <QString>

namespace kestrova {

// Opens a local file (absolute path) or a URL with the desktop's default application
// (xdg-open). False when it could not be started.
bool OpenWithDesktop(const QString& fileOrUrl);
// Opens a local file in $VISUAL, else $EDITOR (each may carry options), else the desktop's
// default application. False when nothing could be started.
bool EditFile(const QString& file);
// Prints a local file through the desktop's print service ("lp"). False when it could not
// be started.
bool PrintFile(const QString& file);
// Carries out a plan of PlanLaunch; programs start in the process's current directory. False
// when the plan was refused or nothing could be started.
bool CarryOut(const LaunchPlan& plan);

}  // namespace kestrova
