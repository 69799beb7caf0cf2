// The outline of a splitter bar while it is dragged: a half-tone bar drawn over the parent's
// children, passing the mouse through.
#pragma once

#include <QWidget>

namespace kestrova {

class CSplitterOutline : public QWidget {
    Q_OBJECT
public:
    // objectName "splitterOutline"; hidden until Place.
    explicit CSplitterOutline(QWidget* parent);

    // Shows the outline at `bar` (parent coordinates), above every sibling.
    void Place(const QRect& bar);

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kestrova
