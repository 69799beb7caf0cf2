#include "shell/dialogs/favor_dlg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kTextLabel = QStringLiteral("Отображаемый текст");
const QString kFolderLabel = QStringLiteral("Поместить в папку");
const QString kOk = QStringLiteral("ОК");
const QString kCancel = QStringLiteral("Отмена");

constexpr int kWidth = 300;  // the dialog's width at 96 dpi

}  // namespace

CFavorDlg::CFavorDlg(QWidget* parent, const QString& caption, const QString& text,
                     std::vector<FavorDlgFolder> folders, IBookmarkFolder* preselect)
    : QDialog(parent),
      folders_(std::move(folders)),
      edit_(new QLineEdit(this)),
      list_(new QComboBox(this)),
      ok_(new QPushButton(kOk, this)) {
    setObjectName(QStringLiteral("favorDialog"));
    setWindowTitle(caption);
    setModal(true);

    auto* textLabel = new QLabel(kTextLabel, this);
    textLabel->setBuddy(edit_);
    edit_->setObjectName(QStringLiteral("favorText"));
    edit_->setAccessibleName(kTextLabel);
    edit_->setText(text);
    auto* folderLabel = new QLabel(kFolderLabel, this);
    folderLabel->setBuddy(list_);
    list_->setObjectName(QStringLiteral("favorFolder"));
    list_->setAccessibleName(kFolderLabel);
    list_->setEditable(false);
    list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list_->setMinimumContentsLength(20);
    int selected = -1;
    for (size_t i = 0; i < folders_.size(); ++i) {
        list_->addItem(folders_[i].text);
        if (selected < 0 && folders_[i].folder == preselect) selected = static_cast<int>(i);
    }
    list_->setCurrentIndex(selected);

    ok_->setObjectName(QStringLiteral("favorOk"));
    ok_->setAccessibleName(kOk);
    ok_->setDefault(true);
    auto* cancel = new QPushButton(kCancel, this);
    cancel->setObjectName(QStringLiteral("favorCancel"));
    cancel->setAccessibleName(kCancel);
    connect(ok_, &QPushButton::clicked, this, &CFavorDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CFavorDlg::reject);
    connect(edit_, &QLineEdit::textChanged, this, &CFavorDlg::UpdateOk);
    connect(list_, &QComboBox::currentIndexChanged, this, &CFavorDlg::UpdateOk);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textLabel);
    layout->addWidget(edit_);
    layout->addWidget(folderLabel);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    setMinimumWidth(qRound(kWidth * logicalDpiX() / 96.0));
    edit_->selectAll();
    edit_->setFocus();
    UpdateOk();
}

QString CFavorDlg::Text() const { return edit_->text(); }

IBookmarkFolder* CFavorDlg::Folder() const {
    const int row = list_->currentIndex();
    return row >= 0 && row < static_cast<int>(folders_.size()) ? folders_[row].folder : nullptr;
}

bool CFavorDlg::CanAccept() const { return !edit_->text().isEmpty() && list_->currentIndex() >= 0; }

void CFavorDlg::UpdateOk() { ok_->setEnabled(CanAccept()); }

void CFavorDlg::accept() {
    if (CanAccept()) QDialog::accept();
}

}  // namespace kestrova

#include "moc_favor_dlg.cpp"
