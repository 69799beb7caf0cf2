// The common base of the navigator's panes: a widget painted with the window background that
// hands the focus it receives to its main control, plus the pixel scaling of the panes.
#pragma once

#include <QWidget>

namespace kestrova {

class CBasicPane : public QWidget {
    Q_OBJECT
public:
    explicit CBasicPane(QWidget* parent);

protected:
    // The control that gets the focus whenever the pane is given it.
    void SetMainControl(QWidget* control);
};

// `pixels` at 96 dpi, scaled by the logical dpi of the screen `widget` is on.
int ScaledX(const QWidget* widget, int pixels);
int ScaledY(const QWidget* widget, int pixels);

// The height of one menu line (the pane headers and the index prompt are this high).
int MenuLineHeight(const QWidget* widget);

}  // namespace kestrova
