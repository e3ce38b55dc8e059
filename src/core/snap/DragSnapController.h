#pragma once

#include "DragZones.h"
#include "SnapOutlinePanel.h"
#include "core/input/DispatchTargets.h"
#include "core/windows/Lifetime.h"
#include "core/windows/WindowInfo.h"
#include "core/windows/Windows.h"
#include "ports/MainQueue.h"

#include <atomic>
#include <functional>
#include <memory>
#include <optional>

namespace fenwold {

class HintHUD;
class PrefsStore;
class Screens;
class SnapAssistController;
class Workspace;

// A window dragged by its title bar snaps where it is let go against a display's edge: the left
// and right edges give halves, their ends quarters, the top edge the whole visible frame. While
// the pointer rests in a zone an outline shows where the window will go. A window the program
// snapped takes back its size from before the snap as soon as it is dragged away, under the
// pointer. Escape during the drag leaves the window where the drag leaves it.
//
// The event tap only hands over the pointer (atomics, nothing allocated on a drag); the main
// thread looks at it on a short timer while a title-bar drag is on.
class DragSnapController final : public WindowDragTarget {
public:
    struct Parts {
        Windows* windows = nullptr;
        Screens* screens = nullptr;
        Workspace* workspace = nullptr;
        MainQueue* mainQueue = nullptr;
        PrefsStore* prefs = nullptr;
        SnapAssistController* assist = nullptr; // optional
        HintHUD* hints = nullptr;               // optional
        int macOSMajorVersion = 14;
    };
    using PanelFactory = std::function<std::unique_ptr<SnapOutlinePanel>()>;

    // How long the pointer rests in a zone before the outline shows, and how often the main
    // thread looks at the pointer during a drag.
    static constexpr double kRest = 0.12;
    static constexpr double kTick = 1.0 / 60;

    DragSnapController(const Parts& parts, PanelFactory makePanel);

    // Event-tap thread.
    void pressed(Point at) override;
    void dragged(Point at) override;
    void released(Point at) override;
    bool escape() override;
    void abandon() override;

    // Whether the system's own tiling of dragged windows is on (macOS 15 and later), in which
    // case drags are left to it.
    bool systemTilesDrags() const;
    // The zone the outline shows, while it shows.
    std::optional<DragZone> outlined() const { return outlined_; }
    SnapOutlinePanel* panel() const { return panel_.get(); }
    bool dragging() const { return drag_.has_value(); }

private:
    struct Drag {
        uint64_t press = 0;
        WindowTarget window;
        Rect picked;                  // the window's frame when the button went down
        Point grab;                   // the pointer's place on it then
        std::optional<Rect> original; // the frame a restore gives back after a snap here
        bool moving = false;          // the window has followed the pointer
        std::optional<DragZone> zone;
        double zoneSince = 0;
        std::optional<Windows::SnapRecord> snapped; // the program's snap it was picked up from
    };

    // Main thread.
    void begin(uint64_t press, Point at);
    void tick();
    void follow(Point pointer);
    void end(uint64_t press, std::optional<Point> at);
    void stop();
    // A window the program snapped takes back its size, the pointer holding the same share of
    // its title bar.
    void restoreUnderPointer(Point pointer, const Rect& now);
    std::optional<DragZone> zoneAt(Point pointerAX) const;
    void showOutline(const DragZone& zone);
    void hideOutline();

    Parts p_;
    PanelFactory makePanel_;
    std::unique_ptr<SnapOutlinePanel> panel_;
    std::optional<Drag> drag_;
    std::optional<DragZone> outlined_;
    TimerHandle ticker_;
    Lifetime lifetime_;

    // Shared with the event tap's thread.
    std::atomic<uint64_t> presses_{0};
    std::atomic<double> pointerX_{0};
    std::atomic<double> pointerY_{0};
    std::atomic<bool> tracking_{false};  // a title-bar drag is on
    std::atomic<bool> cancelled_{false}; // Escape was pressed during it
    bool buttonDown_ = false;            // tap thread only: a press was handed to the main thread
};

} // namespace fenwold
