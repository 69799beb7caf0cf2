// A tab control whose tabs share one width. The width is that of the widest tab while all
// tabs fit; when the control is narrower, the tabs shrink to fit and each label that no longer
// fits is cut from its end with "..." (an empty label when nothing fits), its full text then
// shown as the tab's tooltip.
#pragma once

#include <QTabBar>
#include <QTabWidget>

namespace kestrova {

class CStretchTabBar : public QTabBar {
    Q_OBJECT
public:
    explicit CStretchTabBar(QWidget* parent);

    // The common width of the tabs, or 0 for each tab's own.
    void SetTabWidth(int width) { tabWidth_ = width; }
    // The width a tab needs to show `label` in full.
    int NaturalWidth(int index, const QString& label) const;
    // The width of `label` as the tab draws it.
    int LabelWidth(const QString& label) const;
    // The bar can be made as narrow as its owner needs: the tabs then shrink to fit.
    QSize minimumSizeHint() const override;

protected:
    QSize tabSizeHint(int index) const override;
    QSize minimumTabSizeHint(int index) const override;

private:
    int tabWidth_ = 0;
};

class CStretchTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    explicit CStretchTabCtrl(QWidget* parent);

    int AddTab(QWidget* page, const QIcon& icon, const QString& label);
    // Fits the tabs into `width` pixels, shortening labels as needed.
    void StretchTo(int width);
    // The label a tab was given (its text may be shortened).
    QString FullLabel(int index) const { return labels_.value(index); }
    CStretchTabBar* Bar() const { return bar_; }

private:
    // `label` cut from its end with "..." until it is at most `room` wide.
    QString Shortened(const QString& label, int room) const;

    CStretchTabBar* bar_;
    QStringList labels_;
};

}  // namespace kestrova
