// The viewer application: it reads the command line, owns what all windows of the process
// share (the registry of model environments, the browser profile), opens the first frame at
// the placement saved by the last run, and keeps the list of open frames. The program ends
// when the last frame is closed.
//
// User-interface thread only. The QApplication must exist before and outlive the CNavApp.
#pragma once

#include "shell/app/nav_command_line.h"
#include "shell/app/shell_context.h"

#include <QString>

#include <memory>
#include <optional>
#include <vector>

class QWebEngineProfile;

namespace kestrova {

class CMainFrame;
class ModelEnvRegistry;

class CNavApp {
public:
    CNavApp();
    ~CNavApp();
    CNavApp(const CNavApp&) = delete;
    CNavApp& operator=(const CNavApp&) = delete;

    // Parses `arguments` (without the program name) and opens the first frame. False when
    // the frame could not be made; `error` then says why (one line for standard error).
    bool InitInstance(const QStringList& arguments, QString* error = nullptr);

    // Opens a new frame: from the stored placement, or as a copy of `source`. Null on failure
    // (`error`, when given, says why).
    CMainFrame* CreateMainFrame(CMainFrame* source, QString* error = nullptr);

    // The open frames, in order of creation, and the main one.
    const std::vector<CMainFrame*>& Frames() const { return frames_; }
    CMainFrame* MainWindow() const { return mainWindow_; }
    const CNavCommandLineInfo& CommandLine() const { return commandLine_; }
    ShellContext& Context() { return *context_; }

    // Called by a frame when it is destroyed.
    void OnFrameDestroyed(CMainFrame* frame);

private:
    CNavCommandLineInfo commandLine_;
    std::unique_ptr<ModelEnvRegistry> registry_;
    QWebEngineProfile* profile_ = nullptr;  // owned; deleted after the last frame
    std::optional<ShellContext> context_;
    std::vector<CMainFrame*> frames_;
    CMainFrame* mainWindow_ = nullptr;
};

}  // namespace kestrova
