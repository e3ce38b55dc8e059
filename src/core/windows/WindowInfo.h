#pragma once

#include "WindowSnap.h"
#include "ports/Accessibility.h"
#include "ports/Geometry.h"

#include <QImage>
#include <QString>
#include <cstdint>

namespace fenwold {

// One window of the login session, identified everywhere by its owner's process id and its
// window-server number.
struct WindowInfo {
    uint32_t id = 0; // window-server number
    int32_t pid = 0; // owning process
    QString title;   // the application name when the window has no title
    QString appName; // "?" when the application has no name
    QImage icon;
    QImage thumb; // latest preview; filled by the window store
    bool isMinimized = false;
    bool isHidden = false; // the owning application is hidden
    double aspect = 4.0 / 3.0;
    AXElement axWindow; // null for windows known only from the window list
    bool isFullscreen = false;
};

// A window addressed by its owner and number.
struct WindowTarget {
    int32_t pid = 0;
    uint32_t id = 0;
    friend bool operator==(const WindowTarget&, const WindowTarget&) = default;
};

} // namespace fenwold
