// The view settings of a navigator window, kept per user in the settings store under
// "Software\Kestrova\ViewSettings\<profile>" (profile "Default" when empty): loaded when a
// window is made from the command line, saved when it goes.
//
// Loading never fails: a missing key or value, or one of the wrong type, leaves the field as
// it was. Saving ignores write failures.
#pragma once

#include "shell/app/history_list.h"

#include <QString>

#include <cstdint>

namespace kestrova::platform {
class SettingsStore;
}

namespace kestrova {

struct ViewSettings {
    bool titlesOnly = false;
    bool relatedWords = true;
    bool queryLanguage = false;
    bool leftPaneVisible = true;
    int32_t leftPaneExtent = -1;  // pixels at 96 dpi; -1 unset
    bool bottomPaneVisible = false;
    int32_t bottomPaneExtent = -1;
    bool showIcons = true;
    bool showText = true;
    bool offlineMode = false;
    HistoryList searchHistory{20};
    HistoryList indexHistory{20};

    bool operator==(const ViewSettings&) const = default;
};

// The profile key: the base key joined with the profile ("Default" for an empty one).
std::u16string ViewSettingsKey(const QString& profile);

void LoadViewSettings(const platform::SettingsStore& store, const QString& profile,
                      ViewSettings& settings);
void SaveViewSettings(const platform::SettingsStore& store, const QString& profile,
                      const ViewSettings& settings);

}  // namespace kestrova
