// A top-level frame of the viewer: a window that holds exactly one navigator window. It
// restores its placement when it opens, stores it when it closes, and gives its navigator
// window the command-line values (or, for a copy, the state of the source frame's window).
// The frame deletes itself when closed.
#pragma once

#include "shell/app/frame_placement.h"
#include "shell/app/pagiro_frame.h"

#include <QWidget>

namespace kestrova {

class CNavApp;
class CPagiroWnd;
struct NavWindowParams;

// The platform frame with its one navigator window; routes focus to it.
class CPagiroFrame : public QWidget {
    Q_OBJECT
public:
    CPagiroWnd* NavWindow() const { return navWnd_; }

protected:
    CPagiroFrame();
    void focusInEvent(QFocusEvent* event) override;

    CPagiroWnd* navWnd_ = nullptr;
};

class CMainFrame : public CPagiroFrame, public IPagiroFrame {
    Q_OBJECT
public:
    // Makes a frame and its navigator window; null (with `error`) when the window cannot be
    // made (a folder that is not an existing directory). With a source, the navigator window
    // is a copy of the source's and the parameters' folder, page and domain are not used.
    static CMainFrame* Create(CNavApp& app, const NavWindowParams& params, CMainFrame* source,
                              QString* error);
    ~CMainFrame() override;

    // IPagiroFrame
    void SetTitle(const QString& text) override;
    CPagiroWnd* OpenNewWindow() override;

    // The placement of this frame now: maximized, the normal rectangle relative to the work
    // area of the primary screen.
    FramePlacement CurrentPlacement() const;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    explicit CMainFrame(CNavApp& app);

    CNavApp& app_;
};

}  // namespace kestrova
