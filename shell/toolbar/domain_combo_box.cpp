#include "shell/toolbar/domain_combo_box.h"

#include "model/domain.h"
#include "model/model.h"
#include "shell/toolbar/toolbar_texts.h"

#include <string_view>

namespace kestrova {

namespace {

constexpr int kAllDomainsData = -1;

QString FromModel(const char16_t* text) { return text ? QString::fromUtf16(text) : QString(); }

}  // namespace

CDomainComboBox::CDomainComboBox(QWidget* parent) : QComboBox(parent) {
    setObjectName(QStringLiteral("domainBox"));
    setAccessibleName(toolbar_texts::kDomainBoxName);
    setSizeAdjustPolicy(AdjustToMinimumContentsLengthWithIcon);
    setMinimumContentsLength(4);
    // `activated` comes only from the user (mouse, keys, wheel); Fill's own changes are quiet.
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index == lastIndex_) return;
        lastIndex_ = index;
        emit selectionChanged();
    });
}

CDomainComboBox::~CDomainComboBox() = default;

void CDomainComboBox::Fill(IModel* model, const char16_t* selectedTag) {
    const QSignalBlocker blocker(this);
    Clear();
    domains_ = model ? model->GetDomainList() : nullptr;
    if (domains_) model_ = CountedPtr<IModel>::Share(model);
    addItem(toolbar_texts::kAllDomains, kAllDomainsData);
    int selected = 0;
    const int count = domains_ ? domains_->GetCount() : 0;
    for (int i = 0; i < count; ++i) {
        IDomain* domain = domains_->GetItem(i);
        if (!domain) continue;
        addItem(FromModel(domain->GetDisplayName()), i);
        const char16_t* tag = domain->GetTag();
        if (selected == 0 && selectedTag && tag &&
            std::u16string_view(tag) == std::u16string_view(selectedTag)) {
            selected = this->count() - 1;
        }
    }
    setCurrentIndex(selected);
    lastIndex_ = selected;
}

std::optional<std::u16string> CDomainComboBox::SelectedTag() const {
    const int index = currentIndex();
    if (index < 0 || !domains_) return std::nullopt;
    bool ok = false;
    const int position = itemData(index).toInt(&ok);
    if (!ok || position == kAllDomainsData) return std::nullopt;
    IDomain* domain = domains_->GetItem(position);
    if (!domain || !domain->GetTag()) return std::nullopt;
    return std::u16string(domain->GetTag());
}

void CDomainComboBox::Clear() {
    const QSignalBlocker blocker(this);
    clear();
    domains_ = nullptr;
    model_.Reset();
    lastIndex_ = -1;
}

}  // namespace kestrova

#include "moc_domain_combo_box.cpp"
