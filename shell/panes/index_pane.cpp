#include "shell/panes/index_pane.h"

#include "model/keyword.h"
#include "shell/app/history_list.h"
#include "shell/nav/nav_messages.h"
#include "shell/panes/elided_label.h"
#include "shell/panes/index_box.h"
#include "shell/panes/index_list.h"
#include "shell/panes/keyword_list_model.h"
#include "shell/panes/pane_guard.h"

#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrova {
namespace {

const QString kPrompt = QStringLiteral("Введите ключевое слово для поиска:");
const QString kListName = QStringLiteral("Указатель");  // the tab the list is on
constexpr int kDropHeight = 200;  // the box's dropped-down list, pixels at 96 dpi

}  // namespace

CIndexPane::CIndexPane(QWidget* parent)
    : CBasicPane(parent),
      prompt_(new CElidedLabel(kPrompt, this)),
      box_(new CIndexComboBox(this, ScaledY(this, kDropHeight))),
      list_(new CIndexList(this)),
      model_(new KeywordListModel(this)) {
    setObjectName(QStringLiteral("indexPane"));
    prompt_->setObjectName(QStringLiteral("indexPrompt"));
    prompt_->setFixedHeight(MenuLineHeight(this));
    prompt_->setBuddy(box_);
    box_->setAccessibleName(kPrompt);
    list_->setAccessibleName(kListName);
    list_->setModel(model_);

    const int gap = style()->pixelMetric(QStyle::PM_DefaultFrameWidth) * 2;
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, gap, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(prompt_);
    layout->addWidget(box_);
    layout->addSpacing(gap);
    layout->addWidget(list_, 1);
    SetMainControl(box_);

    connect(box_->Edit(), &QLineEdit::textEdited, this, [this](const QString& t) { LookUp(t); });
    connect(box_, &QComboBox::textActivated, this, [this](const QString& t) { LookUp(t); });
    connect(box_->Edit(), &CIndexEdit::EditKey, this, &CIndexPane::OnEditKey);
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            &CIndexPane::OnSelectionChanged);
    connect(list_, &QAbstractItemView::clicked, this, &CIndexPane::PutSelectedIntoBox);
    connect(list_, &QAbstractItemView::doubleClicked, this, &CIndexPane::SendSelected);
    connect(list_, &CIndexList::EnterPressed, this, &CIndexPane::SendSelected);
    connect(list_, &CIndexList::TabPressed, box_, [this] { box_->setFocus(Qt::TabFocusReason); });
}

void CIndexPane::SetNavWindow(QObject* navWnd) { navWnd_ = navWnd; }

void CIndexPane::Fill(IKeywordList* keywords, const PaneState* state) {
    if (!model_->Reset(keywords)) return;
    if (state && state->indexText) box_->setEditText(*state->indexText);
    LookUp(BoxText());
}

void CIndexPane::Clear() { model_->Reset(nullptr); }

void CIndexPane::SaveState(PaneState& state) const { state.indexText = BoxText(); }

// Like the search box, an empty history gives one empty entry.
void CIndexPane::RefillHistory(const HistoryList& history) {
    box_->SetEntries(history.Items().isEmpty() ? QStringList{QString()} : history.Items());
}

QString CIndexPane::BoxText() const { return box_->currentText(); }

int CIndexPane::SelectedKeyword() const {
    const QModelIndexList selected = list_->selectionModel()->selectedIndexes();
    return selected.isEmpty() ? -1 : selected.front().row();
}

void CIndexPane::LookUp(const QString& text) {
    IKeywordList* keywords = model_->Keywords();
    const int count = model_->rowCount(QModelIndex());
    if (text.isEmpty() || !keywords || count == 0) return;
    int row = -1;
    if (!RunGuarded("index: look up", [&] {
            row = keywords->FindKeyword(reinterpret_cast<const char16_t*>(text.utf16()));
        })) {
        return;
    }
    SelectRow(row < 0 || row >= count ? count - 1 : row, true);
}

void CIndexPane::SelectRow(int row, bool byPane) {
    const QModelIndex index = model_->index(row, 0);
    if (!index.isValid()) return;
    const bool was = selecting_;
    selecting_ = byPane;
    list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    list_->scrollTo(index);
    selecting_ = was;
}

void CIndexPane::MoveSelection(int delta) {
    const int count = model_->rowCount(QModelIndex());
    if (count == 0) return;
    const int current = SelectedKeyword();
    SelectRow(std::clamp(current + delta, 0, count - 1), false);
}

void CIndexPane::OnEditKey(int code) {
    switch (code) {
        case kIndexEditEnter:
            PutSelectedIntoBox();
            SendSelected();
            break;
        case kIndexEditTab:
            list_->setFocus(Qt::TabFocusReason);
            break;
        case kIndexEditUp:
            MoveSelection(-1);
            break;
        case kIndexEditDown:
            MoveSelection(1);
            break;
        case kIndexEditPageUp:
            MoveSelection(-list_->RowsPerPage());
            break;
        case kIndexEditPageDown:
            MoveSelection(list_->RowsPerPage());
            break;
        default:
            break;
    }
}

void CIndexPane::OnSelectionChanged() {
    if (!selecting_) PutSelectedIntoBox();
}

void CIndexPane::PutSelectedIntoBox() {
    if (const std::optional<QString> text = model_->Text(SelectedKeyword()))
        box_->setEditText(*text);
}

void CIndexPane::SendSelected() {
    const std::optional<QString> text = model_->Text(SelectedKeyword());
    if (!text) return;
    NavKeywordTopics message(*text);
    RunGuarded("index: keyword topics", [&] { SendNavMessage(navWnd_, message); });
}

}  // namespace kestrova

#include "moc_index_pane.cpp"
