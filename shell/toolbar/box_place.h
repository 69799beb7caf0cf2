// The place of a box on the toolbar: a separator of a fixed width (200 pixels, scaled, plus 9)
// that holds the box. The box is kept 7 pixels from the separator's left edge and 2 from its
// right edge, centred vertically when it is lower than the separator, whenever the separator
// is laid out again (toolbar size changes, text on the buttons switched).
#pragma once

#include <QWidget>

class QComboBox;

namespace kestrova {

class CBoxPlace : public QWidget {
    Q_OBJECT
public:
    // Takes `box` as its child. `width` is the separator's width in pixels.
    CBoxPlace(QWidget* parent, QComboBox* box, int width);

    QComboBox* Box() const { return box_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PlaceBox();

    QComboBox* const box_;
    const int width_;
};

}  // namespace kestrova
