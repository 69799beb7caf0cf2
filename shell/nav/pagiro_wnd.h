// The navigator window: the one child of a frame that holds the toolbar, the panes, the
// browser and the splitters. It only receives Qt's events and hands them to its controller,
// CPagiroWnd_impl_; no exception leaves it, so a failing command never ends the program.
#pragma once

#include <QString>
#include <QWidget>

#include <memory>

namespace kestrova {

class CPagiroWnd_impl_;
struct NavWindowParams;
struct ShellContext;

class CPagiroWnd : public QWidget {
    Q_OBJECT
public:
    // Makes the window from the frame's parameters (or as a copy of `source`), with all its
    // children. Null when the window cannot be made; `error` then says why.
    static CPagiroWnd* Create(QWidget* frame, ShellContext& context, const NavWindowParams& params,
                              CPagiroWnd* source, QString* error);
    // Saves the settings, leaves the model environment and ends the controller.
    ~CPagiroWnd() override;

    CPagiroWnd_impl_& Impl() const { return *impl_; }

    // Runs a command as if it came from a menu.
    void ExecuteCommand(int id);

protected:
    bool event(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    // A change of the desktop's style or theme: the children are laid out again.
    void changeEvent(QEvent* event) override;

private:
    CPagiroWnd(QWidget* frame, ShellContext& context);

    std::unique_ptr<CPagiroWnd_impl_> impl_;
};

}  // namespace kestrova
