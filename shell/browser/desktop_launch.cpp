#include "shell/browser/desktop_launch.h"

#include <QDesktopServices>
#include <QDir>
#include <QProcess>
#include <QUrl>

namespace kestrova {
namespace {

bool Start(const QString& program, const QStringList& arguments) {
    return QProcess::startDetached(program, arguments, QDir::currentPath());
}

}  // namespace

bool OpenWithDesktop(const QString& fileOrUrl) {
    const QUrl url =
        QDir::isAbsolutePath(fileOrUrl) ? QUrl::fromLocalFile(fileOrUrl) : QUrl(fileOrUrl);
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool EditFile(const QString& file) {
    for (const char* variable : {"VISUAL", "EDITOR"}) {
        QStringList command = QProcess::splitCommand(qEnvironmentVariable(variable));
        if (command.isEmpty()) continue;
        const QString program = command.takeFirst();
        return Start(program, command << file);
    }
    return OpenWithDesktop(file);
}

bool PrintFile(const QString& file) {
    // "--" ends the options, so a file name that begins with '-' stays a file name.
    return Start(QStringLiteral("lp"), {QStringLiteral("--"), file});
}

bool CarryOut(const LaunchPlan& plan) {
    switch (plan.kind) {
        case LaunchPlan::kOpen:
            return OpenWithDesktop(plan.target);
        case LaunchPlan::kEdit:
            return EditFile(plan.target);
        case LaunchPlan::kPrint:
            return PrintFile(plan.target);
        case LaunchPlan::kRunProgram:
            return Start(plan.target, plan.arguments);
        case LaunchPlan::kRefused:
            break;
    }
    return false;
}

}  // namespace kestrova
