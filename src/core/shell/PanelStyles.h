#pragma once

#include "ports/FloatingPanel.h"

namespace fenwold {

// The floating panels of the overlays, each as it must behave over other applications' windows.
// Level and Spaces behaviour are in the platform's numbers: the overlays sit at the screen-saver
// level (1000) or, for the hint, the status level (25), join every Space and may sit beside
// full-screen windows (canJoinAllSpaces + fullScreenAuxiliary, 257); the shelf sits at the
// pop-up-menu level (101) and also stays out of window cycling as a transient window (0x149).
namespace panelstyles {

// Alt+Tab's tile grid: clicks pick tiles, hovering shows their buttons.
PanelStyle switcher();
// The other half's picker after a snap.
PanelStyle snapAssist();
// The snap layouts over the front window: clicks pick zones, hovering marks them.
PanelStyle snapLayouts();
// The outline of where a window dragged to a screen edge will snap; every click goes through.
PanelStyle snapOutline();
// The previews next to a Dock icon.
PanelStyle dockPeek();
// "No windows" / "Not running" next to a Dock icon; every click goes through.
PanelStyle emptyPeek();
// The shortcut hint in the top-right corner; every click goes through.
PanelStyle hint();
// The clipboard shelf: the one panel that takes keys. Its backdrop is opaque when the user asked
// for reduced transparency.
PanelStyle shelf(bool reduceTransparency);

} // namespace panelstyles
} // namespace fenwold
