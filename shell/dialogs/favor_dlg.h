// The favorites dialog: the text of a bookmark or folder and the folder to put it in. The
// caller gives the caption, the text, the folders to offer (in order) and the folder to
// select first. "ОК" is enabled only while the text is not empty and a folder is selected.
//
// User-interface thread. The folders are plain pointers: the favorites must not change while
// the dialog runs.
#pragma once

#include <QDialog>
#include <QString>

#include <vector>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kestrova {

class IBookmarkFolder;

// One entry of the folder list: its text and the folder it stands for.
struct FavorDlgFolder {
    QString text;
    IBookmarkFolder* folder = nullptr;
};

class CFavorDlg : public QDialog {
    Q_OBJECT
public:
    // objectName "favorDialog"; the edit is "favorText" (1030), the list "favorFolder" (1031),
    // the buttons "favorOk" and "favorCancel". No entry is selected when `preselect` is not
    // among `folders`.
    CFavorDlg(QWidget* parent, const QString& caption, const QString& text,
              std::vector<FavorDlgFolder> folders, IBookmarkFolder* preselect);

    // What the dialog returns after "ОК": the text and the selected folder (null when none).
    QString Text() const;
    IBookmarkFolder* Folder() const;

    QLineEdit* TextEdit() const { return edit_; }
    QComboBox* FolderList() const { return list_; }
    QPushButton* OkButton() const { return ok_; }

    // Ends the dialog with "ОК" only while the rule above holds.
    void accept() override;

private:
    bool CanAccept() const;
    void UpdateOk();

    std::vector<FavorDlgFolder> folders_;
    QLineEdit* edit_;
    QComboBox* list_;
    QPushButton* ok_;
};

}  // namespace kestrova
