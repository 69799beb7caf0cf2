// Starting the viewer as a process of its own that outlives the launcher.
#pragma once

#include <QString>
#include <QStringList>

namespace kestrova {

class IProcessStarter {
public:
    IProcessStarter() = default;
    IProcessStarter(const IProcessStarter&) = delete;
    IProcessStarter& operator=(const IProcessStarter&) = delete;
    virtual ~IProcessStarter() = default;

    // Starts `program` with `arguments` (each one argument of the new process, as it is) in
    // `workingDirectory`, with this process's environment, and does not wait for it. Returns
    // whether the process started; on failure `*error` (if given) says why.
    virtual bool StartDetached(const QString& program, const QStringList& arguments,
                               const QString& workingDirectory, QString* error) = 0;
};

// Starts processes with QProcess::startDetached: the new process is not a child that the
// launcher must reap, and it keeps running after the launcher ends.
class CDetachedProcessStarter final : public IProcessStarter {
public:
    bool StartDetached(const QString& program, const QStringList& arguments,
                       const QString& workingDirectory, QString* error) override;
};

}  // namespace kestrova
