#pragma once

#include "ports/FloatingPanel.h"
#include "ports/Geometry.h"
#include "ports/Platform.h"
#include "ports/Subscription.h"

#include <QPoint>
#include <QRect>
#include <functional>
#include <memory>
#include <vector>

class QAction;
class QMenu;
class QWidget;

namespace fenwold {

class MainQueue;
class PanelHover;
class Screens;

// Where the program's floating panels live and how screen coordinates (origin at the primary
// screen's bottom-left, y up) map onto them: top-level panels on a desktop (native panels on a
// Mac), children of the simulated screen in the playground.
class PanelHost {
public:
    PanelHost();
    PanelHost(const PanelHost&) = delete;
    PanelHost& operator=(const PanelHost&) = delete;
    virtual ~PanelHost();

    // The panel around a view, in this host's way, behaving as the style says. The view is the
    // panel's content at the panel's size; it must outlive the panel.
    std::unique_ptr<FloatingPanel> makePanel(QWidget& content, const PanelStyle& style) const;
    // From now on, panels whose style wants pointer movement get it, with hover and tooltips,
    // from the program's own pointer monitors: where the platform sends a panel none while the
    // program is not the active application (a Mac's panels, and the playground's, which
    // reproduce them).
    void hoverThroughMonitors(Screens& screens, MainQueue& queue);
    const PanelHover* hover() const { return hover_.get(); }
    // Where the panels this host made are shown now, but `except`: what another overlay must not
    // cover.
    std::vector<Rect> shownFrames(const FloatingPanel* except) const;
    // The parent for widgets shown over the host's screen; null for top-level windows.
    virtual QWidget* container() const = 0;
    // A frame in screen coordinates as a geometry in the container's (or Qt's global) coordinates.
    virtual QRect toWidget(const Rect& frame) const = 0;
    // Whether panels fade and slide in real time; a host on a virtual clock shows end states.
    virtual bool animates() const { return true; }
    // Whether panels can be drawn partly transparent where they are shown.
    virtual bool fades() const { return true; }
    // Whether the platform blurs what lies behind the panels (a Mac's materials).
    virtual bool blursBehind() const { return false; }
    // Open a menu with its top-left at a point of the container (global without one) and track
    // it until it closes; answers the chosen action, or null.
    virtual QAction* trackMenu(QMenu& menu, QPoint at) const;
    // Show one of the program's regular windows (it has a title bar and stays until closed) and
    // bring it forward: a window of its own on a desktop, framed inside the simulated screen.
    virtual void showWindow(QWidget& window) const;
    // The window server's number for the window of a panel's content (`FloatingPanel::windowNumber`).
    virtual int64_t windowNumber(const QWidget& content) const;
    // The room a regular window has on the screen it opens on, without its title bar.
    virtual QSize windowRoom() const;
    // Left and right mouse-downs, with the program's widget each went to (null: none of them).
    // On a desktop that is the widget Qt delivers the press to; the playground's screen says where
    // its clicks land.
    virtual Subscription observeClicks(std::function<void(QWidget* landedIn)> handler) const;

protected:
    virtual std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const = 0;

private:
    std::unique_ptr<PanelHover> hover_;
    // The panels made, each told when it goes (the registry may go first).
    std::shared_ptr<std::vector<const FloatingPanel*>> made_ =
        std::make_shared<std::vector<const FloatingPanel*>>();
};

// Panels as top-level windows on the desktop Qt runs on: the platform's native panels where it
// has them, otherwise Qt's frameless tool windows. Native panels get their hover through the
// platform's pointer monitors; Qt's windows track the pointer themselves.
class DesktopPanelHost final : public PanelHost {
public:
    DesktopPanelHost() = default;
    DesktopPanelHost(FloatingPanelFactory nativePanels, const Platform& platform);
    QWidget* container() const override { return nullptr; }
    QRect toWidget(const Rect& frame) const override;
    bool blursBehind() const override { return static_cast<bool>(nativePanels_); }

protected:
    std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const override;

private:
    FloatingPanelFactory nativePanels_;
};

} // namespace fenwold
