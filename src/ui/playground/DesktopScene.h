#pragma once

#include "platform/sim/SimSystemUI.h"

#include <QRect>
#include <QStringList>
#include <optional>
#include <vector>

namespace fenwold {

// What a window's image is drawn from, wherever it lies: equal looks draw the same image.
struct WindowLook {
    int32_t pid = 0;
    QString title;
    QSize size;
    QStringList content;
    qint64 picture = 0; // the picture's cache key, 0 for none

    bool operator==(const WindowLook&) const = default;
};

// Everything the simulated screen's drawing reads from the session, as values: equal scenes draw
// the same picture, so the screen is drawn again only when its scene changes. What the drawing
// comes to read has to be here too.
struct DesktopScene {
    struct Window {
        uint32_t number = 0;
        QRect frame;
        bool active = false;
        bool fullscreen = false;
        WindowLook look;

        bool operator==(const Window&) const = default;
    };
    struct DockIcon {
        int32_t pid = 0;
        qint64 icon = 0; // the icon's cache key, 0 for none

        bool operator==(const DockIcon&) const = default;
    };

    std::vector<QRect> displays;
    std::vector<QRect> visibleFrames;
    std::vector<Window> windows; // the visible windows of the current Space, front first
    std::optional<QString> frontName;
    std::vector<int> spaces;
    int currentSpace = 0;
    qint64 statusIcon = 0;
    QString layoutLabel;
    std::vector<DockIcon> dock;
    SimSystemUI::Panel panel = SimSystemUI::Panel::none;
    QString confirmation;
    QStringList regularApps; // the names the Force Quit window lists

    bool operator==(const DesktopScene&) const = default;
};

} // namespace fenwold
