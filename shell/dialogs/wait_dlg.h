// The wait dialog: shown while the window highlights the words of a search on request, with a
// text and "Отмена". It is modeless, but blocks its window while shown, so that no command
// of that window can start meanwhile.
#pragma once

#include "exec/sync_wait.h"

#include <QDialog>
#include <QPointer>

class QLabel;

namespace kestrova {

class CWaitDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "waitDialog"; the text is "waitText" (1026), the button "waitCancel".
    CWaitDlg(QWidget* parent, const QString& text);

    // Set by "Отмена", Escape, closing the dialog, or the application quitting.
    bool IsCancelled() const { return cancelled_; }

    void reject() override;

private:
    QLabel* label_ = nullptr;
    bool cancelled_ = false;
};

// The waiting object of a highlight on request: shows a CWaitDlg over `window` and answers
// "go on" until the user cancels it. The work it waits for returns to the event loop between
// its steps, so the dialog needs no message pumping of its own. The dialog goes with this
// object (or with the window).
class wait_dlg_ : public ISyncWait {
public:
    wait_dlg_(QWidget* window, const QString& text);
    ~wait_dlg_() override;
    wait_dlg_(const wait_dlg_&) = delete;
    wait_dlg_& operator=(const wait_dlg_&) = delete;

    bool ContinueWaiting() override;
    CWaitDlg* Dialog() const { return dialog_; }

private:
    QPointer<CWaitDlg> dialog_;
};

}  // namespace kestrova
