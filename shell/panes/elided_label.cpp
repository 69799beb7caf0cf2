#include "shell/panes/elided_label.h"

#include <QPainter>
#include <QStyle>

namespace kestrova {

CElidedLabel::CElidedLabel(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
    setTextFormat(Qt::PlainText);
}

QSize CElidedLabel::minimumSizeHint() const { return {0, fontMetrics().height()}; }

QString CElidedLabel::ShownText() const {
    return fontMetrics().elidedText(text(), Qt::ElideRight, contentsRect().width());
}

void CElidedLabel::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    style()->drawItemText(&painter, contentsRect(), Qt::AlignLeft | Qt::AlignVCenter, palette(),
                          isEnabled(), ShownText(), foregroundRole());
}

}  // namespace kestrova

#include "moc_elided_label.cpp"
