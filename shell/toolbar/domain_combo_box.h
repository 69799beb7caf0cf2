// The category box (1014): a drop-down list with "Все категории" and one entry per domain of
// the model shown; choosing an entry emits `selectionChanged`.
#pragma once

#include <QComboBox>

#include <optional>
#include <string>

namespace kestrova {

class IModel;

class CDomainComboBox : public QComboBox {
    Q_OBJECT
public:
    // objectName "domainBox".
    explicit CDomainComboBox(QWidget* parent);

    // Fills the list: "Все категории" (item data -1), then each domain of the model's
    // domain list in order (item data: its position); selects the entry of `selectedTag`
    // (exact comparison), else the first. Emits nothing.
    void Fill(IModel* model, const char16_t* selectedTag);
    // The tag of the selected domain; none for "Все категории" or no selection.
    std::optional<std::u16string> SelectedTag() const;
    void Clear();

signals:
    // The user chose an entry.
    void selectionChanged();
};

}  // namespace kestrova
