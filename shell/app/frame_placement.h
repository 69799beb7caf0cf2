// Where a top-level frame opens: the placement stored in the settings store under
// "Software\Kestrova\ViewSettings\Default\Frame" when frames close, and the rectangle a new
// frame gets from it.
#pragma once

#include <QRect>

#include <cstdint>
#include <optional>

namespace kestrova::platform {
class SettingsStore;
}

namespace kestrova {

// The marker of a value that is not set.
inline constexpr int32_t kPlacementUnset = INT32_MIN;  // 0x80000000

struct FramePlacement {
    bool maximized = false;
    // The normal rectangle; left and top relative to the work area of the primary screen.
    int32_t left = kPlacementUnset;
    int32_t top = kPlacementUnset;
    int32_t width = kPlacementUnset;
    int32_t height = kPlacementUnset;

    bool operator==(const FramePlacement&) const = default;
};

// Reads the stored placement. Values out of range are unset: left and top must be below
// 5001 taken as unsigned, width and height from 100 to 5000; any non-zero "Maximized" is true.
FramePlacement ReadFramePlacement(const platform::SettingsStore& store);
// Writes all five values, unset ones as 0x80000000.
void WriteFramePlacement(const platform::SettingsStore& store, const FramePlacement& placement);

// How a new frame is placed: a full rectangle, a size at the window system's default position,
// or the default position and size.
struct FrameGeometry {
    std::optional<QRect> rect;  // position and size
    std::optional<QSize> size;  // size only
};

// The geometry of a new frame from a placement and the work area (none when it cannot be
// known). A stored corner outside the work area is dropped; the stored size still applies.
FrameGeometry CreationGeometry(const FramePlacement& placement, std::optional<QRect> workArea);

}  // namespace kestrova
