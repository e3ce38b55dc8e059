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

// Over every Space and beside full-screen windows.
PanelStyle overlay(int level, double cornerRadius, const QString& title) {
    PanelStyle style;
    style.level = level;
    style.collectionBehavior = kCanJoinAllSpaces | kFullScreenAuxiliary;
    style.cornerRadius = cornerRadius;
    style.accessibilityTitle = title;
    return style;
}

// A panel that is pointed at: clicks choose, hovering marks.
PanelStyle pointable(double cornerRadius, const QString& title) {
    PanelStyle style = overlay(kScreenSaverLevel, cornerRadius, title);
    style.acceptsMouseMoved = true;
    return style;
}

PanelStyle tileGrid(const QString& title) {
    return pointable(24, title);
}

// A label that says something and lets every click through.
PanelStyle label(int level, double cornerRadius, const QString& title) {
    PanelStyle style = overlay(level, cornerRadius, title);
    style.ignoresMouse = true;
    return style;
}

} // namespace

PanelStyle switcher() {
    return tileGrid(QStringLiteral("Window switcher"));
}

PanelStyle snapAssist() {
    return tileGrid(QStringLiteral("Snap assist"));
}

PanelStyle snapLayouts() {
    return pointable(16, QStringLiteral("Snap layouts"));
}

PanelStyle snapOutline() {
    return label(kScreenSaverLevel, 12, QStringLiteral("Snap outline"));
}

PanelStyle dockPeek() {
    return tileGrid(QStringLiteral("Dock peek"));
}

PanelStyle emptyPeek() {
    return label(kScreenSaverLevel, 10, QStringLiteral("Dock peek"));
}

PanelStyle hint() {
    return label(kStatusLevel, 14, QStringLiteral("Shortcut hint"));
}

PanelStyle shelf(bool reduceTransparency) {
    PanelStyle style;
    style.level = kPopUpMenuLevel;
    style.collectionBehavior = kCanJoinAllSpaces | kTransient | kIgnoresCycle | kFullScreenAuxiliary;
    style.takesKeys = true;
    style.acceptsMouseMoved = true; // its cards light up under the pointer
    style.material = reduceTransparency ? PanelMaterial::windowBackground : PanelMaterial::popover;
    style.cornerRadius = 18;
    style.accessibilityTitle = QStringLiteral("Clipboard shelf");
    return style;
}

} // namespace fenwold::panelstyles
