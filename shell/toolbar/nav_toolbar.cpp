#include "shell/toolbar/nav_toolbar.h"

#include "shell/commands.h"
#include "shell/toolbar/box_place.h"
#include "shell/toolbar/domain_combo_box.h"
#include "shell/toolbar/nav_tool_button.h"
#include "shell/toolbar/search_combo_box.h"
#include "shell/toolbar/toolbar_texts.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QIcon>
#include <QStyle>
#include <QToolBar>

namespace kestrova {

namespace {

namespace tt = toolbar_texts;
using DropDown = CNavToolButton::DropDown;

// One position of the toolbar, left to right.
struct Position {
    enum Kind { Button, Separator, SearchBox, DomainBox } kind;
    int command = 0;
    const char* icon = nullptr;  // resource name under ":/icons/"
    const QString* tooltip = nullptr;
    bool mayShowText = false;
    DropDown dropDown = DropDown::None;
};

const Position kPositions[] = {
    {Position::Button, ID_GO_BACK, "go-back", &tt::kGoBack, true},
    {Position::Button, ID_GO_FORWARD, "go-forward", &tt::kGoForward, true},
    {Position::Separator},
    {Position::Button, ID_SHOW_CONTENTS, "contents", &tt::kShowContents},
    {Position::Button, ID_SHOW_INDEX, "keyword-index", &tt::kShowIndex},
    {Position::Separator},
    {Position::Button, ID_FIND_ON_PAGE, "find-on-page", &tt::kFindOnPage},
    {Position::Button, ID_FIND_IN_CONTENTS, "find-in-contents", &tt::kFindInContents},
    {Position::Button, ID_ADD_FAVORITE, "add-favorite", &tt::kAddFavorite},
    {Position::Separator},
    {Position::Button, ID_FONT_SIZE, "text-size", &tt::kFontSize, false, DropDown::Arrow},
    {Position::SearchBox},
    {Position::Button, ID_SEARCH, "search", &tt::kSearch, true, DropDown::Arrow},
    {Position::DomainBox},
    {Position::Separator},
    {Position::Button, ID_PRINT_PAGE, "print", &tt::kPrintPage},
    {Position::Separator},
    {Position::Button, ID_MAIN_MENU, "menu", &tt::kMainMenu, true, DropDown::Whole},
};

constexpr int kBoxPlaceWidth = 200;  // at 96 dpi; the place is 9 pixels wider still
constexpr int kBoxPlaceExtra = 9;

}  // namespace

CNavToolBar::CNavToolBar(QWidget* parent, bool showText) : QWidget(parent), showText_(showText) {
    setObjectName(QStringLiteral("toolBar"));
    row_ = new QToolBar(this);
    row_->setObjectName(QStringLiteral("toolBarRow"));
    row_->setMovable(false);
    row_->setFloatable(false);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(row_);

    searchBox_ = new CSearchComboBox(this);
    domainBox_ = new CDomainComboBox(this);
    const int placeWidth = qRound(kBoxPlaceWidth * logicalDpiX() / 96.0) + kBoxPlaceExtra;
    for (const Position& position : kPositions) {
        switch (position.kind) {
            case Position::Separator:
                row_->addSeparator();
                break;
            case Position::SearchBox:
                AddBoxPlace(searchBox_, placeWidth, QStringLiteral("searchBoxPlace"));
                break;
            case Position::DomainBox:
                AddBoxPlace(domainBox_, placeWidth, QStringLiteral("domainBoxPlace"));
                break;
            case Position::Button:
                AddButton(position.command, QString::fromLatin1(position.icon), *position.tooltip,
                          position.dropDown, position.mayShowText);
                break;
        }
    }
    ApplyIconSize();
    ApplyShowText();
}

CNavToolBar::~CNavToolBar() = default;

void CNavToolBar::AddBoxPlace(QComboBox* box, int width, const QString& name) {
    auto* place = new CBoxPlace(row_, box, width);
    place->setObjectName(name);
    row_->addWidget(place);
}

void CNavToolBar::AddButton(int command, const QString& icon, const QString& tooltip,
                            CNavToolButton::DropDown dropDown, bool mayShowText) {
    auto* button = new CNavToolButton(row_, command, tooltip, dropDown);
    button->setIcon(QIcon(QStringLiteral(":/icons/%1.svg").arg(icon)));
    connect(button, &CNavToolButton::activated, this, &CNavToolBar::command);
    connect(button, &CNavToolButton::dropDownRequested, this, &CNavToolBar::dropDown);
    row_->addWidget(button);
    buttons_.push_back(button);
    if (mayShowText) textButtons_.push_back(button);
}

CNavToolButton* CNavToolBar::Button(int command) const {
    for (CNavToolButton* button : buttons_) {
        if (button->Command() == command) return button;
    }
    return nullptr;
}

void CNavToolBar::SetShowText(bool on) {
    if (on == showText_) return;
    showText_ = on;
    ApplyShowText();
}

bool CNavToolBar::ShowText() const { return showText_; }

void CNavToolBar::ApplyShowText() {
    for (CNavToolButton* button : textButtons_) {
        button->setToolButtonStyle(showText_ ? Qt::ToolButtonTextBesideIcon
                                             : Qt::ToolButtonIconOnly);
    }
    row_->updateGeometry();
    updateGeometry();
}

void CNavToolBar::ApplyIconSize() {
    const int side = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
    for (CNavToolButton* button : buttons_) button->setIconSize(QSize(side, side));
}

void CNavToolBar::EnableButton(int command, bool enable) {
    if (CNavToolButton* button = Button(command)) button->setEnabled(enable);
}

bool CNavToolBar::IsButtonEnabled(int command) const {
    CNavToolButton* button = Button(command);
    return button && button->isEnabled();
}

QRect CNavToolBar::ButtonRect(int command) const {
    CNavToolButton* button = Button(command);
    if (!button || !button->isVisible()) return QRect();
    return QRect(button->mapTo(this, QPoint(0, 0)), button->size());
}

int CNavToolBar::StripHeight() const { return sizeHint().height(); }

CSearchComboBox* CNavToolBar::SearchBox() const { return searchBox_; }

CDomainComboBox* CNavToolBar::DomainBox() const { return domainBox_; }

void CNavToolBar::changeEvent(QEvent* event) {
    // A new style (a theme change of the desktop) brings new metrics: the icons follow it,
    // the text setting stays.
    if (event->type() == QEvent::StyleChange) ApplyIconSize();
    QWidget::changeEvent(event);
}

}  // namespace kestrova

#include "moc_nav_toolbar.cpp"
