#include "shell/panes/tabs_pane.h"

#include "shell/panes/content_pane.h"
#include "shell/panes/index_pane.h"
#include "shell/panes/tabs.h"

#include <QResizeEvent>
#include <QVBoxLayout>

namespace kestrova {

CTabsPane::CTabsPane(QWidget* parent) : QWidget(parent), tabs_(new CTabs(this)) {
    setObjectName(QStringLiteral("tabsPane"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(tabs_);
    // The tabs themselves never keep the focus: focusing the pane focuses the shown pane.
    tabs_->tabBar()->setFocusPolicy(Qt::NoFocus);
    OnTabChanged(tabs_->currentIndex());
    connect(tabs_, &QTabWidget::currentChanged, this, [this](int tab) {
        OnTabChanged(tab);
        if (QWidget* pane = tabs_->widget(tab)) pane->setFocus(Qt::OtherFocusReason);
    });
}

void CTabsPane::OnTabChanged(int tab) {
    QWidget* pane = tabs_->widget(tab);
    setFocusProxy(pane);
    tabs_->setFocusProxy(pane);
}

void CTabsPane::SelectTab(int tab) {
    if (tab < 0 || tab >= tabs_->count()) return;
    tabs_->setCurrentIndex(tab);
    tabs_->widget(tab)->setFocus(Qt::OtherFocusReason);
}

int CTabsPane::CurrentTab() const { return tabs_->currentIndex(); }

void CTabsPane::StretchTo(int width) { tabs_->StretchTo(width); }

CContentPane* CTabsPane::Contents() const { return tabs_->Contents(); }

CIndexPane* CTabsPane::Index() const { return tabs_->Index(); }

QWidget* CTabsPane::Favorites() const { return tabs_->Favorites(); }

void CTabsPane::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    StretchTo(tabs_->width());
}

}  // namespace kestrova

#include "moc_tabs_pane.cpp"
