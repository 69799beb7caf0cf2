// The toggle button in the middle of a splitter bar: 16 pixels long (scaled), as thick as the
// bar, with a hand cursor. Its picture points the way a click moves the pane: towards the
// pane's side while the pane is shown, away from it while it is collapsed.
#pragma once

#include <QAbstractButton>

namespace kestrova {

class CSplitterButton : public QAbstractButton {
    Q_OBJECT
public:
    // objectName "splitterButton". `orientation` is the bar's.
    CSplitterButton(QWidget* bar, Qt::Orientation orientation);

    void SetPaneShown(bool shown);
    // The resource name of the picture shown now (":/icons/splitter-….svg").
    QString PictureName() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const Qt::Orientation orientation_;
    bool paneShown_ = true;
};

}  // namespace kestrova
