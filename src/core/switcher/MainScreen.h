#pragma once

#include "core/windows/DisplayGeometry.h"
#include "ports/Screens.h"

#include <optional>

namespace fenwold {

// The screen overlays open on: the one holding the key window, else the primary screen.
inline std::optional<ScreenInfo> mainScreen(const Screens& screens) {
    const std::vector<ScreenInfo> all = screens.screens();
    if (all.empty()) return std::nullopt;
    const int index = screens.mainScreenIndex();
    if (index >= 0 && index < static_cast<int>(all.size())) return all[static_cast<std::size_t>(index)];
    return all.front();
}

// The screen under the pointer, where the user is looking; else the main screen.
inline std::optional<ScreenInfo> pointerScreen(const Screens& screens) {
    const std::vector<ScreenInfo> all = screens.screens();
    const int index = displaygeometry::screenIndexContaining(all, screens.pointerLocation());
    if (index >= 0) return all[static_cast<std::size_t>(index)];
    return mainScreen(screens);
}

// A frame of this size centred on a rectangle's centre.
inline Rect centredOn(const Rect& area, Size size) {
    return {area.midX() - size.width / 2, area.midY() - size.height / 2, size.width, size.height};
}

} // namespace fenwold
