#include "shell/dialogs/select_frame_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kCaption = QStringLiteral("Найти в содержании");
const QString kText = QStringLiteral(
    "При отображении текущей страницы используется несколько файлов.\n"
    "Выберите фрагмент страницы для поиска в содержании:");
const QString kOk = QStringLiteral("ОК");
const QString kCancel = QStringLiteral("Отмена");
const QString kMainRow = QStringLiteral("<main>");

}  // namespace

CSelectFrameDlg::CSelectFrameDlg(QWidget* parent, const std::vector<FrameEntry>& frames,
                                 const QString& mainUrl)
    : QDialog(parent) {
    setObjectName(QStringLiteral("selectFrameDialog"));
    setWindowTitle(kCaption);
    auto* text = new QLabel(kText, this);
    text->setTextFormat(Qt::PlainText);
    list_ = new QTreeWidget(this);
    list_->setObjectName(QStringLiteral("frameList"));
    list_->setAccessibleName(kCaption);
    list_->setRootIsDecorated(false);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setHeaderLabels({QStringLiteral("Frame"), QStringLiteral("URL")});
    for (const FrameEntry& frame : frames) new QTreeWidgetItem(list_, {frame.name, frame.url});
    new QTreeWidgetItem(list_, {kMainRow, mainUrl});
    list_->resizeColumnToContents(0);
    list_->resizeColumnToContents(1);
    list_->setCurrentItem(list_->topLevelItem(0));

    auto* buttons = new QDialogButtonBox(this);
    ok_ = buttons->addButton(kOk, QDialogButtonBox::AcceptRole);
    ok_->setObjectName(QStringLiteral("frameOk"));
    QPushButton* cancel = buttons->addButton(kCancel, QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("frameCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CSelectFrameDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSelectFrameDlg::reject);
    connect(list_, &QTreeWidget::itemDoubleClicked, this, &CSelectFrameDlg::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(list_);
    layout->addWidget(buttons);
    resize(qRound(480 * logicalDpiX() / 96.0), qRound(240 * logicalDpiY() / 96.0));
}

void CSelectFrameDlg::accept() {
    const QList<QTreeWidgetItem*> rows = list_->selectedItems();
    if (rows.isEmpty()) return;  // nothing happens while no row is chosen
    selected_ = rows.front()->text(1);
    QDialog::accept();
}

}  // namespace kestrova

#include "moc_select_frame_dlg.cpp"
