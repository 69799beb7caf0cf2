#include "shell/app/nav_app.h"

#include "exec/workers/model_env_registry.h"
#include "exec/workers/model_load_fn.h"
#include "shell/app/main_frame.h"
#include "shell/app/nav_window_params.h"
#include "shell/app/scene_graph_backend.h"
#include "shell/browser/web_profile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QWebEnginePage>
#include <QWebEngineProfile>

#include <algorithm>

namespace kestrova {

CNavApp::CNavApp() : registry_(std::make_unique<ModelEnvRegistry>(LoadModelFromDisk)) {}

CNavApp::~CNavApp() {
    // Frames still open (the program is ending without closing them) go before the profile
    // their pages use and the registry their windows are users of; so do pages whose
    // deletion is still pending.
    std::vector<CMainFrame*> open = frames_;
    for (CMainFrame* frame : open) delete frame;
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    if (profile_) qDeleteAll(profile_->findChildren<QWebEnginePage*>());
    delete profile_;
}

bool CNavApp::InitInstance(const QStringList& arguments, QString* error) {
    commandLine_.Parse(arguments);
    // A folder that cannot be shown is reported before the browser starts.
    const QString& folder = commandLine_.folder;
    if (!folder.isEmpty() && !QFileInfo(QDir::current(), folder).isDir()) {
        if (error) *error = QStringLiteral("folder=%1: not an existing directory").arg(folder);
        return false;
    }
    ChooseSceneGraphBackend();  // before the first browser object
    profile_ = CreateWebProfile(nullptr);
    context_.emplace(ShellContext{*registry_, *profile_});
    // Chromium's processes start while the first window loads its model.
    StartBrowserEarly(*profile_);
    return CreateMainFrame(nullptr, error) != nullptr;
}

CMainFrame* CNavApp::CreateMainFrame(CMainFrame* source, QString* error) {
    NavWindowParams params;
    params.folder = commandLine_.folder;
    params.startPage = commandLine_.startPage;
    params.domain = commandLine_.domain;
    CMainFrame* frame = CMainFrame::Create(*this, params, source, error);
    if (!frame) return nullptr;
    frames_.push_back(frame);
    if (!mainWindow_) mainWindow_ = frame;
    return frame;
}

void CNavApp::OnFrameDestroyed(CMainFrame* frame) {
    frames_.erase(std::remove(frames_.begin(), frames_.end(), frame), frames_.end());
    if (mainWindow_ == frame) mainWindow_ = frames_.empty() ? nullptr : frames_.front();
}

}  // namespace kestrova
