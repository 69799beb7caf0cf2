// The mouse cursors of the splitter bars: the plain resize cursor, the one shown while a
// dragged bar is about to collapse its pane, and the one of a bar whose pane is collapsed.
#pragma once

#include <QCursor>

namespace kestrova {

enum class SplitterCursor { Resize, AboutToCollapse, Collapsed };

// The cursor of a bar. `orientation` is the bar's own (Qt::Vertical: a bar between the left
// pane and the browser; Qt::Horizontal: a bar above the bottom pane). The collapsing side is
// the pane's: left for a vertical bar, bottom for a horizontal one.
QCursor SplitterCursorFor(Qt::Orientation orientation, SplitterCursor kind);

}  // namespace kestrova
