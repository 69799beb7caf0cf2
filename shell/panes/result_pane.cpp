#include "shell/panes/result_pane.h"

#include "model/page_info.h"
#include "model/topic.h"
#include "model/url_provider.h"
#include "shell/nav/nav_messages.h"
#include "shell/panes/elided_label.h"
#include "shell/panes/pane_guard.h"
#include "shell/panes/result_list.h"
#include "shell/panes/result_list_model.h"

#include <QHeaderView>
#include <QVBoxLayout>

namespace kestrova {
namespace {

const QString kHeaderNone = QStringLiteral("Результаты поиска");
const QString kHeaderIndex =
    QStringLiteral("Результаты поиска в указателе \"%s\" - найдено страниц: %d.");
const QString kHeaderSearch = QStringLiteral("Результаты поиска \"%s\" - найдено страниц: %d.");
const QString kHeaderFailed = QStringLiteral("Поиск \"%s\" не выполнен: %s");

// `format` with each "%s" and "%d" replaced by the next of `args`, in order, and "%%" by "%".
// The arguments are never read as formats themselves.
QString Format(const QString& format, const QStringList& args) {
    QString text;
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar c = format[i];
        const QChar kind = i + 1 < format.size() ? format[i + 1] : QChar();
        if (c == u'%' && (kind == u's' || kind == u'd') && next < args.size()) {
            text += args[next++];
            ++i;
        } else if (c == u'%' && kind == u'%') {
            text += c;
            ++i;
        } else {
            text += c;
        }
    }
    return text;
}

}  // namespace

CResultPane::CResultPane(QWidget* parent)
    : CBasicPane(parent),
      header_(new CElidedLabel(kHeaderNone, this)),
      list_(new CResultList(this)),
      model_(new ResultListModel(this)) {
    setObjectName(QStringLiteral("resultPane"));
    header_->setObjectName(QStringLiteral("resultHeader"));
    QFont bold = header_->font();
    bold.setBold(true);
    header_->setFont(bold);
    header_->setFixedHeight(MenuLineHeight(this));
    header_->setIndent(ScaledX(this, 4));
    list_->setModel(model_);
    list_->setAccessibleName(kHeaderNone);

    auto* layout = new QVBoxLayout(this);
    const int edgeX = ScaledX(this, 2), edgeY = ScaledY(this, 2);
    layout->setContentsMargins(edgeX, 0, edgeX, edgeY);
    layout->setSpacing(0);
    layout->addWidget(header_);
    layout->addWidget(list_, 1);
    SetMainControl(list_);

    connect(list_, &CResultList::OpenRequested, this, &CResultPane::Open);
    connect(list_->horizontalHeader(), &QHeaderView::sectionClicked, this, &CResultPane::SortBy);
}

void CResultPane::SetNavWindow(QObject* navWnd) { navWnd_ = navWnd; }

void CResultPane::Fill(const QString& query, ResultKind kind, CountedPtr<ITopicSet> topics,
                       std::optional<SearchQuery> highlight) {
    if (!model_->Reset(std::move(topics))) return;
    highlight_ = std::move(highlight);
    const QString& format = kind == ResultKind::kIndex ? kHeaderIndex : kHeaderSearch;
    header_->setText(Format(format, {query, QString::number(model_->Count())}));
    ShowSortOrder();
    if (model_->Count() > 0) list_->SelectRow(0);
}

void CResultPane::FillFailure(const QString& query, const QString& reason) {
    model_->Reset(nullptr);
    highlight_.reset();
    header_->setText(Format(kHeaderFailed, {query, reason}));
    ShowSortOrder();
}

void CResultPane::SelectItem(int i) {
    if (i < 0 || i >= model_->Count()) return;
    list_->SelectRow(i);
    Open(i);
}

int CResultPane::Count() const { return model_->Count(); }

QString CResultPane::HeaderText() const { return header_->text(); }

void CResultPane::Open(int row) {
    ITopicSet* topics = model_->Topics();
    if (!topics) return;
    NavigateRequest request;
    request.highlight = highlight_;
    request.flags = kNavigateSelectTopic;
    const bool found = RunGuarded("results: open", [&] {
        ITopic* topic = topics->GetItem(row);
        IPageInfo* page = topic ? topic->GetPage() : nullptr;
        IURLProvider* urls = topics->GetURLProvider();
        if (!page || !urls) return;
        const char16_t* url = urls->GetURL(page->GetPath(), topic->GetAnchor());
        if (url) request.url = QString::fromUtf16(url);
        request.topic = topic;
    });
    if (!found || request.url.isEmpty()) return;
    NavNavigate message(request);
    RunGuarded("results: navigate", [&] { SendNavMessage(navWnd_, message); });
}

void CResultPane::SortBy(int column) {
    const bool changed = model_->SortBy(column);
    ShowSortOrder();  // the header may have turned its arrow on its own
    if (changed) list_->SelectRow(0);
}

void CResultPane::ShowSortOrder() {
    QHeaderView* header = list_->horizontalHeader();
    TopicSortOrder order;
    ITopicSet* topics = model_->Topics();
    if (topics) RunGuarded("results: sort order", [&] { order = topics->GetSortOrder(); });
    header->setSortIndicatorShown(order.kind == 1 || order.kind == 2);
    if (order.kind == 1 || order.kind == 2) {
        header->setSortIndicator(order.kind - 1,
                                 order.ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    }
}

}  // namespace kestrova

#include "moc_result_pane.cpp"
