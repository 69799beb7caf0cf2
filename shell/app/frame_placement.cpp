#include "shell/app/frame_placement.h"

#include "platform/settings_store.h"

#include <array>

namespace kestrova {
namespace {

constexpr std::u16string_view kFrameKey = u"Software\\Kestrova\\ViewSettings\\Default\\Frame";

struct PlacementValue {
    std::u16string_view name;
    int32_t FramePlacement::*field;
    uint32_t min;  // the accepted range, taken as unsigned
    uint32_t max;
};

const std::array<PlacementValue, 4> kValues = {{
    {u"Left", &FramePlacement::left, 0, 5000},
    {u"Top", &FramePlacement::top, 0, 5000},
    {u"Width", &FramePlacement::width, 100, 5000},
    {u"Height", &FramePlacement::height, 100, 5000},
}};

}  // namespace

FramePlacement ReadFramePlacement(const platform::SettingsStore& store) {
    FramePlacement p;
    std::optional<platform::SettingsKey> key = platform::SettingsKey::Open(store, kFrameKey, false);
    if (!key) return p;
    if (std::optional<uint32_t> max = key->ReadDword(u"Maximized")) p.maximized = *max != 0;
    for (const PlacementValue& v : kValues) {
        std::optional<uint32_t> value = key->ReadDword(v.name);
        if (value && *value >= v.min && *value <= v.max) p.*v.field = static_cast<int32_t>(*value);
    }
    return p;
}

void WriteFramePlacement(const platform::SettingsStore& store, const FramePlacement& placement) {
    std::optional<platform::SettingsKey> key = platform::SettingsKey::Open(store, kFrameKey, true);
    if (!key) return;
    key->WriteDword(u"Maximized", placement.maximized ? 1 : 0);
    for (const PlacementValue& v : kValues) {
        key->WriteDword(v.name, static_cast<uint32_t>(placement.*v.field));
    }
}

FrameGeometry CreationGeometry(const FramePlacement& p, std::optional<QRect> workArea) {
    FrameGeometry g;
    if (p.width == kPlacementUnset || p.height == kPlacementUnset) return g;
    const QSize size(p.width, p.height);
    if (p.left != kPlacementUnset && p.top != kPlacementUnset && workArea) {
        const QPoint corner = workArea->topLeft() + QPoint(p.left, p.top);
        if (workArea->contains(corner)) {
            g.rect = QRect(corner, size);
            return g;
        }
    }
    g.size = size;
    return g;
}

}  // namespace kestrova
