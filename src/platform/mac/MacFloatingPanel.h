#pragma once

#include "ports/FloatingPanel.h"

#include <memory>

class QWidget;

namespace fenwold {

// A floating panel made natively: an NSPanel given the non-activating style at creation (it
// cannot be added later), buffered, borderless, clear and not opaque with a shadow, never hidden
// on deactivation, at the style's level, Spaces behaviour, mouse handling and accessibility
// title. Its content view is the style's blur material, masked to the corner radius, and the Qt
// widget's own top-level view sits in it at the panel's size (Qt's embedded mode), so that Qt
// sends keys, focus and clicks to the widget's own window. A panel whose style takes keys becomes
// the key window with Qt's view its first responder; the others never take Qt's focus.
class MacFloatingPanel final : public FloatingPanel {
public:
    MacFloatingPanel(QWidget& content, const PanelStyle& style);
    ~MacFloatingPanel() override;

    void setFrame(const Rect& frame) override;
    Rect frame() const override;
    Rect currentFrame() const override;
    int64_t windowNumber() const override;
    void setAlpha(double alpha) override;
    double alpha() const override;
    void animate(const Rect& frame, double alpha, double seconds, bool easeOut,
                 std::function<void()> completion) override;
    void orderFront() override;
    void orderOut() override;
    bool isVisible() const override;
    bool isKeyWindow() const override;
    // Left and right mouse-downs in other applications (never in the panel) and in this one,
    // telling whether the click landed in the panel.
    Subscription monitorClicks(std::function<void(QWidget* landedIn)> handler) override;

private:
    struct Native;
    std::unique_ptr<Native> native_;
};

} // namespace fenwold
