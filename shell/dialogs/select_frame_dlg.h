// The choose-frame dialog: asked when a command needs the page of the document shown and the
// document has frames. It lists the frames (most recently navigated first) and last "<main>",
// the top document; the caller uses the URL of the chosen row.
#pragma once

#include "shell/browser/browser_wnd.h"

#include <QDialog>

#include <vector>

class QTreeWidget;
class QPushButton;

namespace kestrova {

class CSelectFrameDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "selectFrameDialog"; the list is "frameList" (1021), the buttons "frameOk"
    // and "frameCancel". The first row is selected when it opens.
    CSelectFrameDlg(QWidget* parent, const std::vector<FrameEntry>& frames, const QString& mainUrl);

    // The URL of the chosen row (valid after the dialog was accepted).
    QString SelectedUrl() const { return selected_; }
    QTreeWidget* List() const { return list_; }

    void accept() override;

private:
    QTreeWidget* list_ = nullptr;
    QPushButton* ok_ = nullptr;
    QString selected_;
};

}  // namespace kestrova
