#include "shell/toolbar/splitter_outline.h"

#include <QPainter>

namespace kestrova {

CSplitterOutline::CSplitterOutline(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("splitterOutline"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    hide();
}

void CSplitterOutline::Place(const QRect& bar) {
    setGeometry(bar);
    if (isHidden()) show();
    raise();
}

void CSplitterOutline::paintEvent(QPaintEvent*) {
    // Every other pixel in the text colour: the classic half-tone drag bar, visible over
    // light and dark content alike.
    QPainter painter(this);
    painter.setBrushOrigin(0, 0);
    painter.fillRect(rect(), QBrush(palette().color(QPalette::WindowText), Qt::Dense4Pattern));
}

}  // namespace kestrova

#include "moc_splitter_outline.cpp"
