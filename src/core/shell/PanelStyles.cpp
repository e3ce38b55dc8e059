#include "PanelStyles.h"

namespace fenwold::panelstyles {

namespace {

constexpr int kStatusLevel = 25;
constexpr int kPopUpMenuLevel = 101;
constexpr int kScreenSaverLevel = 1000;
constexpr uint64_t kCanJoinAllSpaces = 1 << 0;
constexpr uint64_t kTransient = 1 << 3;
constexpr uint64_t kIgnoresCycle = 1 << 6;
constexpr uint64_t kFullScreenAuxiliary = 1 << 8;
constexpr uint64_t kEverySpace = kCanJoinAllSpaces | kFullScreenAuxiliary;

PanelStyle tileGrid(const QString& title) {
    PanelStyle style;
    style.level = kScreenSaverLevel;
    style.collectionBehavior = kEverySpace;
    style.acceptsMouseMoved = true;
    style.cornerRadius = 24;
    style.accessibilityTitle = title;
    return style;
}

} // namespace

PanelStyle switcher() {
    return tileGrid(QStringLiteral("Window switcher"));
}

PanelStyle snapAssist() {
    return tileGrid(QStringLiteral("Snap assist"));
}

PanelStyle dockPeek() {
    return tileGrid(QStringLiteral("Dock peek"));
}

PanelStyle emptyPeek() {
    PanelStyle style;
    style.level = kScreenSaverLevel;
    style.collectionBehavior = kEverySpace;
    style.ignoresMouse = true;
    style.cornerRadius = 10;
    style.accessibilityTitle = QStringLiteral("Dock peek");
    return style;
}

PanelStyle hint() {
    PanelStyle style;
    style.level = kStatusLevel;
    style.collectionBehavior = kEverySpace;
    style.ignoresMouse = true;
    style.cornerRadius = 14;
    style.accessibilityTitle = QStringLiteral("Shortcut hint");
    return style;
}

PanelStyle shelf(bool reduceTransparency) {
    PanelStyle style;
    style.level = kPopUpMenuLevel;
    style.collectionBehavior = kCanJoinAllSpaces | kTransient | kIgnoresCycle | kFullScreenAuxiliary;
    style.takesKeys = true;
    style.material = reduceTransparency ? PanelMaterial::windowBackground : PanelMaterial::popover;
    style.cornerRadius = 18;
    style.accessibilityTitle = QStringLiteral("Clipboard shelf");
    return style;
}

} // namespace fenwold::panelstyles
