#pragma once

#include "ports/Geometry.h"

#include <QPoint>
#include <QRect>

class QAction;
class QMenu;
class QWidget;

namespace fenwold {

// Where the program's floating panels live and how screen coordinates (origin at the primary
// screen's bottom-left, y up) map onto them. On a real desktop panels are top-level tool windows;
// in the playground they are children of the simulated screen.
class PanelHost {
public:
    PanelHost() = default;
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;
    virtual ~PanelHost() = default;

    // The parent for panel widgets; null for top-level windows.
    virtual QWidget* container() const = 0;
    // A frame in screen coordinates as a geometry in the container's (or Qt's global) coordinates.
    virtual QRect toWidget(const Rect& frame) const = 0;
    // Make a widget a panel of this host: parented and flagged as a floating, non-activating panel.
    void adopt(QWidget& panel, bool acceptsInput) const;
    // Whether panels fade and slide in real time; a host on a virtual clock shows end states.
    virtual bool animates() const { return true; }
    // Open a menu with its top-left at a point of the container (global without one) and track
    // it until it closes; answers the chosen action, or null.
    virtual QAction* trackMenu(QMenu& menu, QPoint at) const;
    // Show one of the program's regular windows (it has a title bar and stays until closed) and
    // bring it forward: a window of its own on a desktop, framed inside the simulated screen.
    virtual void showWindow(QWidget& window) const;
};

// Panels as top-level windows on the desktop Qt runs on.
class DesktopPanelHost final : public PanelHost {
public:
    QWidget* container() const override { return nullptr; }
    QRect toWidget(const Rect& frame) const override;
};

} // namespace fenwold
