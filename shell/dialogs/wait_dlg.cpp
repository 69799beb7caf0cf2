#include "shell/dialogs/wait_dlg.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kCaption = QStringLiteral("Подождите, пожалуйста");
const QString kCancel = QStringLiteral("Отмена");

constexpr int kWidth = 320;  // the dialog's width at 96 dpi

}  // namespace

CWaitDlg::CWaitDlg(QWidget* parent, const QString& text) : QDialog(parent) {
    setObjectName(QStringLiteral("waitDialog"));
    setWindowTitle(kCaption);
    setWindowModality(Qt::WindowModal);
    label_ = new QLabel(text, this);
    label_->setObjectName(QStringLiteral("waitText"));
    label_->setWordWrap(true);
    label_->setTextFormat(Qt::PlainText);
    auto* cancel = new QPushButton(kCancel, this);
    cancel->setObjectName(QStringLiteral("waitCancel"));
    cancel->setAccessibleName(kCancel);
    connect(cancel, &QPushButton::clicked, this, &CWaitDlg::reject);
    connect(qApp, &QCoreApplication::aboutToQuit, this, [this] { cancelled_ = true; });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addLayout(buttons);
    setFixedWidth(qRound(kWidth * logicalDpiX() / 96.0));
}

void CWaitDlg::reject() {
    cancelled_ = true;
    QDialog::reject();
}

wait_dlg_::wait_dlg_(QWidget* window, const QString& text) : dialog_(new CWaitDlg(window, text)) {
    dialog_->show();
}

wait_dlg_::~wait_dlg_() { delete dialog_.data(); }

bool wait_dlg_::ContinueWaiting() { return dialog_ && !dialog_->IsCancelled(); }

}  // namespace kestrova

#include "moc_wait_dlg.cpp"
