// A one-line label that cuts its text with an ellipsis when it is too narrow, vertically
// centred (the prompt of the index pane). The accessible text stays the full text.
#pragma once

#include <QLabel>

namespace kestrova {

class CElidedLabel : public QLabel {
    Q_OBJECT
public:
    CElidedLabel(const QString& text, QWidget* parent);

    QSize minimumSizeHint() const override;
    // The text as it is drawn at the current width.
    QString ShownText() const;

protected:
    void paintEvent(QPaintEvent* event) override;
};

}  // namespace kestrova
