// The tab control of the left pane: "Содержание" (the contents pane), "Указатель" (the index
// pane) and "Избранное" (the favorites page), in that order, with their pictures.
#pragma once

#include "shell/panes/stretch_tab_ctrl.h"

namespace kestrova {

class CContentPane;
class CIndexPane;

class CTabs : public CStretchTabCtrl {
    Q_OBJECT
public:
    // objectName "tabs".
    explicit CTabs(QWidget* parent);

    CContentPane* Contents() const { return contents_; }
    CIndexPane* Index() const { return index_; }
    QWidget* Favorites() const { return favorites_; }

private:
    CContentPane* contents_;
    CIndexPane* index_;
    QWidget* favorites_;
};

}  // namespace kestrova
