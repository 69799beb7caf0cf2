#include "shell/dialogs/progress_dlg.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

namespace kestrova {

namespace {

const QString kScanning = QStringLiteral("Сканирование файлов...");
const QString kLoading = QStringLiteral("Загрузка данных...");
const QString kIndexing = QStringLiteral("Выполняется индексирование файлов...");
const QString kSearching = QStringLiteral("Поиск \"%1\"...");
const QString kWaiting = QStringLiteral("Подождите, пожалуйста...");
const QString kCancel = QStringLiteral("Отмена");

constexpr int kTickMs = 200;
constexpr int kWidth = 320;  // the dialog's width at 96 dpi

}  // namespace

CProgressDlg::CProgressDlg(QWidget* parent, const QString& caption, const QString& text,
                           IProgressDlgData_impl_& data)
    : QDialog(parent), data_(data), text_(text) {
    setObjectName(QStringLiteral("progressDialog"));
    setWindowTitle(caption);
    setModal(true);

    label_ = new QLabel(this);
    label_->setObjectName(QStringLiteral("progressText"));
    label_->setWordWrap(true);
    label_->setTextFormat(Qt::PlainText);
    bar_ = new QProgressBar(this);
    bar_->setObjectName(QStringLiteral("progressBar"));
    bar_->setTextVisible(false);
    // The hidden bar keeps its room, so the dialog does not jump when it appears.
    QSizePolicy keep = bar_->sizePolicy();
    keep.setRetainSizeWhenHidden(true);
    bar_->setSizePolicy(keep);
    bar_->hide();
    auto* cancel = new QPushButton(kCancel, this);
    cancel->setObjectName(QStringLiteral("progressCancel"));
    cancel->setAccessibleName(kCancel);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label_);
    layout->addWidget(bar_);
    layout->addLayout(buttons);
    setFixedWidth(qRound(kWidth * logicalDpiX() / 96.0));

    timer_.setInterval(kTickMs);
    connect(&timer_, &QTimer::timeout, this, &CProgressDlg::Tick);
    ShowProgress(ExecProgress{-1, -1, -1});
}

CProgressDlg::~CProgressDlg() { Detach(); }

QString CProgressDlg::StageText(const ExecProgress& progress, const QString& text) {
    switch (progress.stage) {
        case kStageScan:
            return kScanning;
        case kStageLoad:
            return kLoading;
        case kStageIndexing:
            return kIndexing;
        case kStageSearch:
            return kSearching.arg(text);
        default:
            return kWaiting;
    }
}

void CProgressDlg::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous() || attached_) return;
    attached_ = true;
    try {
        data_.Attach(this);
        ShowProgress(data_.Read());
    } catch (...) {
        // The first state stays "Подождите, пожалуйста..."; the ticks try again.
    }
    timer_.start();
}

void CProgressDlg::done(int result) {
    timer_.stop();
    Detach();
    QDialog::done(result);
}

void CProgressDlg::Detach() {
    if (!attached_) return;
    attached_ = false;
    try {
        data_.Attach(nullptr);
    } catch (...) {
    }
}

void CProgressDlg::Tick() {
    try {
        if (data_.IsAbandoned()) {
            reject();
            return;
        }
        ShowProgress(data_.Read());
    } catch (...) {
        // A failed read shows nothing new; the next tick reads again.
    }
}

void CProgressDlg::ShowProgress(const ExecProgress& progress) {
    label_->setText(StageText(progress, text_));
    if (progress.total < 0) {
        bar_->hide();
        return;
    }
    // A total of 0 is an empty bar, not the busy animation QProgressBar shows for 0..0.
    const int maximum = qMax(progress.total, 1);
    bar_->setRange(0, maximum);
    bar_->setValue(qBound(0, progress.current, maximum));
    bar_->show();
}

}  // namespace kestrova

#include "moc_progress_dlg.cpp"
