#pragma once

#include "ports/FloatingPanel.h"

#include <memory>

class QWidget;

namespace fenwold {

class MainQueue;
class PanelHost;
class Screens;

// Hover for the program's panels, from its own pointer monitors. A Mac sends no mouse-moved,
// entered or exited events to the views of an application that is not active (Qt's tracking
// areas work only while it is), and an accessory application shows its panels while another one
// is active. So the pointer's moves, as the global and local mouse-moved monitors see them,
// become Qt's own events on the widget under the pointer: leave and enter (with their hover
// events and Qt's under-the-mouse state) along the widgets it crosses, then a mouse move; a
// pointer that rests on a widget gets its tooltip after Qt's usual delay. The monitors run only
// while a followed panel is ordered front.
class PanelHover {
public:
    PanelHover(Screens& screens, MainQueue& queue, const PanelHost& host);
    PanelHover(const PanelHover&) = delete;
    PanelHover& operator=(const PanelHover&) = delete;
    ~PanelHover();

    // The panel around `content`, followed while it is ordered front; of the panels under the
    // pointer the window server's frontmost window gets it. The panel may outlive this object.
    std::unique_ptr<FloatingPanel> follow(std::unique_ptr<FloatingPanel> panel, QWidget& content);
    // The innermost widget the pointer is over, if any.
    QWidget* hovered() const;
    // Whether these events are this object's own, being delivered now (what the playground's
    // panels let through).
    bool delivering() const;
    // Whether the pointer is over this widget as far as this object told it.
    bool isUnder(const QWidget& widget) const;

    struct State;

private:
    std::shared_ptr<State> state_;
};

} // namespace fenwold
