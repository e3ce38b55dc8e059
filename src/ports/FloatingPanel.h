#pragma once

#include "Geometry.h"
#include "Subscription.h"

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>

class QWidget;

namespace fenwold {

// What a panel's window shows behind its content where the platform blurs: the heads-up
// material behind the glass of the overlays, the popover material behind the shelf, or the
// opaque window background when the user asked for reduced transparency.
enum class PanelMaterial { hudWindow, popover, windowBackground };

// What tells one floating panel from another.
struct PanelStyle {
    int level = 0;                   // window level: 25 status, 101 pop-up menu, 1000 screen saver
    uint64_t collectionBehavior = 0; // Spaces and full-screen behaviour, in the platform's bits
    bool takesKeys = false;          // becomes the key window, its content taking the keys, when shown
    bool ignoresMouse = false;       // every click goes through to what lies beneath
    bool acceptsMouseMoved = false;  // pointer movement reaches the content without a button held
    PanelMaterial material = PanelMaterial::hudWindow;
    double cornerRadius = 0; // of the material behind the content
    QString accessibilityTitle;
    friend bool operator==(const PanelStyle&, const PanelStyle&) = default;
};

// A borderless floating window that never activates the program, never hides when another
// application is active, and hosts one Qt widget as its content, always at the panel's size.
// Frames are in screen coordinates (origin bottom-left of the primary screen, y up).
class FloatingPanel {
public:
    FloatingPanel() = default;
    FloatingPanel(const FloatingPanel&) = delete;
    FloatingPanel& operator=(const FloatingPanel&) = delete;
    virtual ~FloatingPanel() = default;

    // Move and resize at once.
    virtual void setFrame(const Rect& frame) = 0;
    // The frame last set or animated to.
    virtual Rect frame() const = 0;
    // Where the panel is now: part way to `frame()` while it animates.
    virtual Rect currentFrame() const = 0;
    // The window server's number for the panel's window (compared with `Screens::windowNumberAt`).
    virtual int64_t windowNumber() const = 0;
    virtual void setAlpha(double alpha) = 0;
    virtual double alpha() const = 0;
    // Animate to a frame and alpha, easing out or in; the completion always runs when it ends (at
    // once for no time, or where the panels show end states).
    virtual void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                         std::function<void()> completion) = 0;
    // Bring to the front without activating the program. A panel that takes keys also becomes
    // the key window, with its content receiving the keys.
    virtual void orderFront() = 0;
    virtual void orderOut() = 0;
    virtual bool isVisible() const = 0;
    virtual bool isKeyWindow() const = 0;
    // Left and right mouse-downs in this program or any other; the handler learns where each
    // landed: the program's widget (or its top-level window) it went to, or null for another
    // application's window, the desktop or the menu bar. Whether that is the panel, its menus
    // included, is decided once for every platform (`monitorPanelClicks`).
    virtual Subscription monitorClicks(std::function<void(QWidget* landedIn)> handler) = 0;
};

// Makes the panel around a top-level content widget; the panel must go before the widget.
using FloatingPanelFactory =
    std::function<std::unique_ptr<FloatingPanel>(QWidget& content, const PanelStyle& style)>;

} // namespace fenwold
