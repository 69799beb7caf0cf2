#include "shell/panes/stretch_tab_ctrl.h"

#include <algorithm>

namespace kestrova {
namespace {

const QString kEllipsis = QStringLiteral("...");

}  // namespace

CStretchTabBar::CStretchTabBar(QWidget* parent) : QTabBar(parent) {
    setExpanding(false);
    setUsesScrollButtons(false);
    setElideMode(Qt::ElideNone);
    setDrawBase(true);
}

int CStretchTabBar::LabelWidth(const QString& label) const {
    return fontMetrics().size(Qt::TextShowMnemonic, label).width();
}

int CStretchTabBar::NaturalWidth(int index, const QString& label) const {
    // The hint of the tab as it is now, with its own label put back in place of the shown one.
    return QTabBar::tabSizeHint(index).width() - LabelWidth(tabText(index)) + LabelWidth(label);
}

QSize CStretchTabBar::tabSizeHint(int index) const {
    QSize size = QTabBar::tabSizeHint(index);
    if (tabWidth_ > 0) size.setWidth(tabWidth_);
    return size;
}

QSize CStretchTabBar::minimumSizeHint() const { return {0, QTabBar::minimumSizeHint().height()}; }

QSize CStretchTabBar::minimumTabSizeHint(int index) const { return tabSizeHint(index); }

CStretchTabCtrl::CStretchTabCtrl(QWidget* parent)
    : QTabWidget(parent), bar_(new CStretchTabBar(this)) {
    setTabBar(bar_);
}

int CStretchTabCtrl::AddTab(QWidget* page, const QIcon& icon, const QString& label) {
    labels_.append(label);
    const int index = addTab(page, icon, label);
    bar_->setAccessibleTabName(index, label);  // the full label, however the tab is cut
    return index;
}

QString CStretchTabCtrl::Shortened(const QString& label, int room) const {
    if (bar_->LabelWidth(label) <= room) return label;
    for (qsizetype length = label.size() - 1; length > 0; --length) {
        const QString cut = label.left(length) + kEllipsis;
        if (bar_->LabelWidth(cut) <= room) return cut;
    }
    return {};
}

void CStretchTabCtrl::StretchTo(int width) {
    const int count = static_cast<int>(labels_.size());
    if (count == 0) return;
    int natural = 0;
    QList<int> padding;  // what each tab needs besides its label
    for (int i = 0; i < count; ++i) {
        const int full = bar_->NaturalWidth(i, labels_[i]);
        natural = std::max(natural, full);
        padding.append(full - bar_->LabelWidth(labels_[i]));
    }
    const bool fits = natural * count <= width;
    const int tabWidth = fits ? natural : std::max(width / count, 1);
    bar_->SetTabWidth(tabWidth);
    for (int i = 0; i < count; ++i) {
        const QString shown = fits ? labels_[i] : Shortened(labels_[i], tabWidth - padding[i]);
        // Setting the text, even an unchanged one, lays the tabs out again at the new width.
        setTabText(i, shown);
        setTabToolTip(i, shown == labels_[i] ? QString() : labels_[i]);
    }
}

}  // namespace kestrova

#include "moc_stretch_tab_ctrl.cpp"
