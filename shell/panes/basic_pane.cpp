#include "shell/panes/basic_pane.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMenu>

#include <cmath>

namespace kestrova {

CBasicPane::CBasicPane(QWidget* parent) : QWidget(parent) {
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Window);
}

void CBasicPane::SetMainControl(QWidget* control) { setFocusProxy(control); }

int ScaledX(const QWidget* widget, int pixels) {
    return static_cast<int>(std::lround(pixels * widget->logicalDpiX() / 96.0));
}

int ScaledY(const QWidget* widget, int pixels) {
    return static_cast<int>(std::lround(pixels * widget->logicalDpiY() / 96.0));
}

int MenuLineHeight(const QWidget* widget) {
    // A menu line holds one line of the menu font with a little room above and below; never
    // less than the 19 pixels of a classic menu bar at 96 dpi.
    const QFontMetrics metrics(QApplication::font("QMenu"));
    return std::max(metrics.height() + ScaledY(widget, 6), ScaledY(widget, 19));
}

}  // namespace kestrova

#include "moc_basic_pane.cpp"
