#include "launcher/process_starter.h"

#include <QProcess>

namespace kestrova {

bool CDetachedProcessStarter::StartDetached(const QString& program, const QStringList& arguments,
                                            const QString& workingDirectory, QString* error) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingDirectory);
    if (process.startDetached()) return true;
    if (error) *error = process.errorString();
    return false;
}

}  // namespace kestrova
