// One button of the navigator's toolbar. A plain button reports clicks with `activated`. A
// button with a separate drop-down arrow reports a press on the arrow with `dropDownRequested`
// and a click on the rest with `activated`. A button that is all drop-down reports any press
// (and an activation from the keyboard or a screen reader) with `dropDownRequested`. The
// button owns no menu: whoever receives `dropDownRequested` opens one below ButtonRect and
// the button looks pressed until that call returns.
#pragma once

#include <QToolButton>

class QStyleOptionToolButton;

namespace kestrova {

class CNavToolButton : public QToolButton {
    Q_OBJECT
public:
    enum class DropDown { None, Arrow, Whole };

    // objectName "button_<command>"; the tooltip is also the accessible name and the text
    // (shown only while the tool button style asks for it).
    CNavToolButton(QWidget* parent, int command, const QString& tooltip, DropDown dropDown);

    int Command() const { return command_; }
    DropDown DropDownKind() const { return dropDown_; }
    // The drop-down arrow's part of the button (own coordinates); empty without an arrow.
    QRect ArrowRect() const;

    QSize sizeHint() const override;

signals:
    void activated(int command);
    void dropDownRequested(int command);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void StyleOption(QStyleOptionToolButton& option) const;
    void RequestDropDown();

    const int command_;
    const DropDown dropDown_;
    bool arrowDown_ = false;  // the arrow (or the whole button) is held while a drop-down runs
};

}  // namespace kestrova
