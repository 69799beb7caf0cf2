// The tabbed left pane: "Содержание" (contents), "Указатель" (index), "Избранное"
// (favorites). Only the pane of the selected tab is shown. The tabs share one width and,
// when the pane is narrow, are shortened with "..." (the full label then is the tooltip).
#pragma once

#include <QWidget>

namespace kestrova {

class CContentPane;
class CIndexPane;
class CTabs;

enum NavTab : int { kTabContents = 0, kTabIndex = 1, kTabFavorites = 2 };

class CTabsPane : public QWidget {
    Q_OBJECT
public:
    // objectName "tabsPane" (1004).
    explicit CTabsPane(QWidget* parent);

    // Selects a tab and gives its pane the focus; a negative index changes nothing.
    void SelectTab(int tab);
    int CurrentTab() const;
    // Fits the tabs into `width` pixels.
    void StretchTo(int width);

    CContentPane* Contents() const;
    CIndexPane* Index() const;
    // The favorites tab's page; its pane comes with the favorites and goes into the page's
    // layout (a QVBoxLayout without margins): Favorites()->layout()->addWidget(pane).
    QWidget* Favorites() const;
    CTabs* Tabs() const { return tabs_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void OnTabChanged(int tab);

    CTabs* tabs_;
};

}  // namespace kestrova
