#include "shell/toolbar/nav_tool_button.h"

#include <QMouseEvent>
#include <QStyleOptionToolButton>
#include <QStylePainter>

namespace kestrova {

CNavToolButton::CNavToolButton(QWidget* parent, int command, const QString& tooltip,
                               DropDown dropDown)
    : QToolButton(parent), command_(command), dropDown_(dropDown) {
    setObjectName(QStringLiteral("button_%1").arg(command));
    setText(tooltip);
    setToolTip(tooltip);
    setAccessibleName(tooltip);
    setAutoRaise(true);
    // Toolbar buttons never take the focus from the page or the boxes; every command has a key.
    setFocusPolicy(Qt::NoFocus);
    setPopupMode(dropDown == DropDown::Arrow ? MenuButtonPopup : InstantPopup);
    connect(this, &QToolButton::clicked, this, [this] {
        if (dropDown_ == DropDown::Whole) {
            RequestDropDown();
        } else {
            emit activated(command_);
        }
    });
}

// The style draws a drop-down arrow only for buttons that own a menu; these buttons own none,
// so the option says what the button is.
void CNavToolButton::StyleOption(QStyleOptionToolButton& option) const {
    initStyleOption(&option);
    if (dropDown_ == DropDown::None) return;
    option.features |= QStyleOptionToolButton::HasMenu;
    if (dropDown_ == DropDown::Arrow) {
        option.features |= QStyleOptionToolButton::MenuButtonPopup;
        option.subControls |= QStyle::SC_ToolButtonMenu;
        if (arrowDown_) {
            option.activeSubControls |= QStyle::SC_ToolButtonMenu;
            option.state |= QStyle::State_Sunken;
        }
    } else if (arrowDown_) {
        option.state |= QStyle::State_Sunken;
    }
}

QRect CNavToolButton::ArrowRect() const {
    if (dropDown_ != DropDown::Arrow) return QRect();
    QStyleOptionToolButton option;
    StyleOption(option);
    return style()->subControlRect(QStyle::CC_ToolButton, &option, QStyle::SC_ToolButtonMenu, this);
}

QSize CNavToolButton::sizeHint() const {
    QSize size = QToolButton::sizeHint();
    if (dropDown_ != DropDown::None && !menu()) {
        // QToolButton leaves room for the arrow only when it owns a menu.
        QStyleOptionToolButton option;
        StyleOption(option);
        size.rwidth() += style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, this);
    }
    return size;
}

void CNavToolButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionToolButton option;
    StyleOption(option);
    if (dropDown_ != DropDown::Whole) {
        painter.drawComplexControl(QStyle::CC_ToolButton, option);
        return;
    }
    // One undivided button with its arrow beside the picture and the text: the panel over
    // the whole button, the label left of the arrow, then the arrow.
    option.features &= ~QStyleOptionToolButton::HasMenu;
    QStyleOptionToolButton panel = option;
    panel.icon = QIcon();
    panel.text.clear();
    painter.drawComplexControl(QStyle::CC_ToolButton, panel);
    const int frame = style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, this);
    const int arrow = style()->pixelMetric(QStyle::PM_MenuButtonIndicator, &option, this);
    QStyleOptionToolButton label = option;
    label.rect = rect().adjusted(frame, frame, -frame - arrow, -frame);
    painter.drawControl(QStyle::CE_ToolButtonLabel, label);
    QStyleOption indicator = option;
    indicator.rect = QRect(width() - frame - arrow, 0, arrow, height());
    if (option.state & QStyle::State_Sunken) indicator.rect.translate(1, 1);
    painter.drawPrimitive(QStyle::PE_IndicatorArrowDown, indicator);
}

void CNavToolButton::RequestDropDown() {
    arrowDown_ = true;
    repaint();
    emit dropDownRequested(command_);
    arrowDown_ = false;
    update();
}

void CNavToolButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        if (dropDown_ == DropDown::Whole ||
            (dropDown_ == DropDown::Arrow && ArrowRect().contains(event->position().toPoint()))) {
            event->accept();
            RequestDropDown();
            return;
        }
    }
    QToolButton::mousePressEvent(event);
}

void CNavToolButton::mouseReleaseEvent(QMouseEvent* event) {
    // A release after a drop-down press belongs to nobody: the button was never pressed down.
    if (event->button() == Qt::LeftButton && !isDown()) {
        event->accept();
        return;
    }
    QToolButton::mouseReleaseEvent(event);
}

}  // namespace kestrova

#include "moc_nav_tool_button.cpp"
