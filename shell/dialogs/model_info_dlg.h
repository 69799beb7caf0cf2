// The knowledge-base information dialog: the page folder, the number of pages, the data
// folder and the numbers of categories, contents chapters and index keywords of a model.
#pragma once

#include <QDialog>

class QLineEdit;

namespace kestrova {

struct ModelInfo;

class CModelInfoDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "modelInfoDialog". The read-only fields are "infoHtmlFolder" (1015),
    // "infoPages" (1016), "infoDataFolder" (1017), "infoDomains" (1018), "infoChapters"
    // (1019) and "infoKeywords" (1020); numbers in decimal. `info` is read only here.
    CModelInfoDlg(QWidget* parent, const ModelInfo& info);
};

}  // namespace kestrova
