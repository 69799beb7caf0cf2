// The category box (1014): a drop-down list with "Все категории" and one entry per domain of
// the model shown; choosing an entry emits `selectionChanged`.
#pragma once

#include "model/counted.h"

#include <QComboBox>

#include <optional>
#include <string>

namespace kestrova {

class IModel;
class IDomainList;

class CDomainComboBox : public QComboBox {
    Q_OBJECT
public:
    // objectName "domainBox".
    explicit CDomainComboBox(QWidget* parent);
    ~CDomainComboBox() override;

    // Fills the list: "Все категории" (item data -1), then each domain of the model's
    // domain list in order (item data: its position); selects the entry of `selectedTag`
    // (exact comparison), else the first. Emits nothing. Keeps a reference to the model (so
    // its domain list stays valid) until the next Fill or Clear; a null model gives the first
    // entry alone. UI thread.
    void Fill(IModel* model, const char16_t* selectedTag);
    // The tag of the selected domain; none for "Все категории" or no selection.
    std::optional<std::u16string> SelectedTag() const;
    // Empties the list and lets the model go. Emits nothing.
    void Clear();

signals:
    // The user chose an entry other than the one selected before.
    void selectionChanged();

private:
    CountedPtr<IModel> model_;
    IDomainList* domains_ = nullptr;  // the model's; valid while model_ is held
    int lastIndex_ = -1;
};

}  // namespace kestrova
