// The progress dialog that the navigator window shows while it waits for a model or a search:
// modal, with a text, a progress bar (hidden while the total is negative) and "Отмена". Every
// 200 ms it reads the progress from its data source.
#pragma once

#include "exec/exec_control.h"

#include <QDialog>

class QLabel;
class QProgressBar;

namespace kestrova {

class CProgressDlg;

// Where the dialog reads its progress and how the window learns which dialog is open.
class IProgressDlgData_impl_ {
public:
    // The dialog opened (null: it closed).
    virtual void Attach(CProgressDlg* dialog) = 0;
    // The current progress; stage -1 when there is none.
    virtual ExecProgress Read() = 0;
    // Called on every tick: true when the awaited object can no longer come and the dialog
    // is to end as if cancelled.
    virtual bool IsAbandoned() { return false; }

protected:
    ~IProgressDlgData_impl_() = default;
};

class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "progressDialog"; the text is "progressText" (1024), the bar "progressBar"
    // (1025), the button "progressCancel".
    CProgressDlg(QWidget* parent, const QString& caption, const QString& text,
                 IProgressDlgData_impl_& data);
    ~CProgressDlg() override;

    // The text shown for a progress record.
    static QString StageText(const ExecProgress& progress, const QString& text);
};

}  // namespace kestrova
