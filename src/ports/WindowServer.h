#pragma once

#include "Geometry.h"

#include <QImage>
#include <QString>
#include <cstdint>
#include <optional>
#include <vector>

namespace fenwold {

// One window-list entry; a field is empty when the description lacks it or holds another type.
struct WindowDescription {
    std::optional<uint32_t> number;
    std::optional<int64_t> layer;
    std::optional<int32_t> ownerPid;
    std::optional<QString> ownerName;
    std::optional<QString> name;
    std::optional<double> alpha;
    std::optional<Rect> bounds; // top-left origin, as the window server reports it
    std::optional<bool> isOnscreen;
    friend bool operator==(const WindowDescription&, const WindowDescription&) = default;
};

// Window-list option bits, as the window server defines them.
namespace windowlist {
inline constexpr uint32_t all = 0;
inline constexpr uint32_t onScreenOnly = 1;
inline constexpr uint32_t onScreenAboveWindow = 2;
inline constexpr uint32_t onScreenBelowWindow = 4;
inline constexpr uint32_t includingWindow = 8;
inline constexpr uint32_t excludeDesktopElements = 16;
} // namespace windowlist

// The window server: window list, window images and the Screen Recording permission.
class WindowServer {
public:
    WindowServer() = default;
    WindowServer(const WindowServer&) = delete;
    WindowServer& operator=(const WindowServer&) = delete;
    virtual ~WindowServer() = default;

    // Window descriptions front to back for the options and relative window.
    virtual std::vector<WindowDescription> windowList(uint32_t options, uint32_t relativeTo) const = 0;
    // A window or screen-area image; null when nothing could be made. An empty area stands for
    // the null rectangle (the bounds of the windows the options select).
    virtual QImage windowImage(Rect area, uint32_t listOptions, uint32_t window,
                               uint32_t imageOptions) const = 0;
    // Screen Recording permission, without prompting.
    virtual bool preflightScreenCapture() const = 0;
    // Ask for Screen Recording (shows the system alert); returns the current state at once.
    virtual bool requestScreenCapture() = 0;
};

} // namespace fenwold
