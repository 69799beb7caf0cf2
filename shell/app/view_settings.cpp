#include "shell/app/view_settings.h"

#include "platform/settings_store.h"

#include <array>
#include <string>

namespace kestrova {
namespace {

constexpr std::u16string_view kBaseKey = u"Software\\Kestrova\\ViewSettings";

// One DWORD value of the block: where it lives and which field it fills.
struct DwordValue {
    std::u16string_view subkey;
    std::u16string_view name;
    bool ViewSettings::*flag = nullptr;
    int32_t ViewSettings::*extent = nullptr;
};

// In the order they are read and written.
const std::array<DwordValue, 10> kDwordValues = {{
    {u"SearchOptions", u"TitlesOnly", &ViewSettings::titlesOnly},
    {u"SearchOptions", u"RelatedWords", &ViewSettings::relatedWords},
    {u"SearchOptions", u"QueryLanguage", &ViewSettings::queryLanguage},
    {u"ViewLayout\\LeftPane", u"Visible", &ViewSettings::leftPaneVisible},
    {u"ViewLayout\\LeftPane", u"Extent", nullptr, &ViewSettings::leftPaneExtent},
    {u"ViewLayout\\BottomPane", u"Visible", &ViewSettings::bottomPaneVisible},
    {u"ViewLayout\\BottomPane", u"Extent", nullptr, &ViewSettings::bottomPaneExtent},
    {u"ContentOptions", u"ShowIcons", &ViewSettings::showIcons},
    {u"ToolbarOptions", u"ShowText", &ViewSettings::showText},
    {u"BrowserOptions", u"OfflineMode", &ViewSettings::offlineMode},
}};

// Parts joined with '\', with no separator after an empty part.
std::u16string JoinKey(std::u16string_view head, std::u16string_view tail) {
    std::u16string key(head);
    if (!key.empty() && !tail.empty()) key += u'\\';
    key += tail;
    return key;
}

std::u16string ItemName(int i) { return u"Item" + QString::number(i).toStdU16String(); }

void LoadHistory(const platform::SettingsStore& store, const std::u16string& key,
                 HistoryList& history) {
    history.Clear();
    std::optional<platform::SettingsKey> open = platform::SettingsKey::Open(store, key, false);
    if (!open) return;
    for (int i = 0; i < history.Capacity(); ++i) {
        std::optional<std::u16string> text = open->ReadString(ItemName(i));
        if (!text) break;
        history.Append(QString::fromStdU16String(*text));
    }
}

void SaveHistory(const platform::SettingsStore& store, const std::u16string& key,
                 const HistoryList& history) {
    store.DeleteKey(key);
    if (history.Items().isEmpty()) return;
    std::optional<platform::SettingsKey> open = platform::SettingsKey::Open(store, key, true);
    if (!open) return;
    for (int i = 0; i < history.Items().size(); ++i) {
        open->WriteString(ItemName(i), history.Items()[i].toStdU16String());
    }
}

}  // namespace

std::u16string ViewSettingsKey(const QString& profile) {
    return JoinKey(kBaseKey, profile.isEmpty() ? u"Default" : profile.toStdU16String());
}

void LoadViewSettings(const platform::SettingsStore& store, const QString& profile,
                      ViewSettings& settings) {
    const std::u16string root = ViewSettingsKey(profile);
    for (const DwordValue& v : kDwordValues) {
        std::optional<platform::SettingsKey> key =
            platform::SettingsKey::Open(store, JoinKey(root, v.subkey), false);
        if (!key) continue;
        std::optional<uint32_t> value = key->ReadDword(v.name);
        if (!value) continue;
        if (v.flag) settings.*v.flag = *value != 0;
        if (v.extent) settings.*v.extent = static_cast<int32_t>(*value);
    }
    LoadHistory(store, JoinKey(root, u"SearchHistory"), settings.searchHistory);
    LoadHistory(store, JoinKey(root, u"IndexHistory"), settings.indexHistory);
}

void SaveViewSettings(const platform::SettingsStore& store, const QString& profile,
                      const ViewSettings& settings) {
    const std::u16string root = ViewSettingsKey(profile);
    for (const DwordValue& v : kDwordValues) {
        std::optional<platform::SettingsKey> key =
            platform::SettingsKey::Open(store, JoinKey(root, v.subkey), true);
        if (!key) continue;
        uint32_t value =
            v.flag ? (settings.*v.flag ? 1u : 0u) : static_cast<uint32_t>(settings.*v.extent);
        key->WriteDword(v.name, value);
    }
    SaveHistory(store, JoinKey(root, u"SearchHistory"), settings.searchHistory);
    SaveHistory(store, JoinKey(root, u"IndexHistory"), settings.indexHistory);
}

}  // namespace kestrova
