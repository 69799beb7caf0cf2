// The progress dialog that the navigator window shows while it waits for a model or a search:
// modal, with a text, a progress bar (hidden while the total is negative) and "Отмена". Every
// 200 ms it reads the progress from its data source.
#pragma once

#include "exec/exec_control.h"

#include <QDialog>
#include <QTimer>

class QLabel;
class QProgressBar;

namespace kestrova {

class CProgressDlg;

// Where the dialog reads its progress and how the window learns which dialog is open.
class IProgressDlgData_impl_ {
public:
    // The dialog opened (null: it closed). While attached, the window may end the dialog
    // with done() when the awaited object arrives (a result other than Rejected).
    virtual void Attach(CProgressDlg* dialog) = 0;
    // The current progress; stage -1 when there is none.
    virtual ExecProgress Read() = 0;
    // Called on every tick: true when the awaited object can no longer come and the dialog
    // is to end as if cancelled.
    virtual bool IsAbandoned() { return false; }

protected:
    ~IProgressDlgData_impl_() = default;
};

// Run it with exec(): it attaches itself to `data` when it opens and detaches when it ends
// (or is destroyed); "Отмена", Escape, closing it or `data` reporting IsAbandoned end it with
// QDialog::Rejected. `data` must outlive the dialog. UI thread; no exception leaves a tick.
class CProgressDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "progressDialog"; the text is "progressText" (1024), the bar "progressBar"
    // (1025), the button "progressCancel". `text` is the query of a search.
    CProgressDlg(QWidget* parent, const QString& caption, const QString& text,
                 IProgressDlgData_impl_& data);
    ~CProgressDlg() override;

    // The text shown for a progress record.
    static QString StageText(const ExecProgress& progress, const QString& text);

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void Tick();
    void ShowProgress(const ExecProgress& progress);
    void Detach();

    IProgressDlgData_impl_& data_;
    const QString text_;
    QLabel* label_ = nullptr;
    QProgressBar* bar_ = nullptr;
    QTimer timer_;
    bool attached_ = false;
};

}  // namespace kestrova
