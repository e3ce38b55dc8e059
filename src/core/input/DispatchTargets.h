#pragma once

#include "core/input/InputRoutingState.h"
#include "ports/Geometry.h"

#include <cstdint>
#include <optional>

namespace fenwold {

// The collaborators the dispatch hands work to. Each is owned by another subsystem; the dispatch
// only sees these small interfaces. Unless a comment says otherwise, calls arrive on the main
// queue, already checked against nothing: the receiver re-checks its session id itself.

// The Alt+Tab session.
class SwitcherSessionTarget {
public:
    SwitcherSessionTarget() = default;
    SwitcherSessionTarget(const SwitcherSessionTarget&) = delete;
    SwitcherSessionTarget& operator=(const SwitcherSessionTarget&) = delete;
    virtual ~SwitcherSessionTarget() = default;

    // Open the switcher panel for a freshly begun session.
    virtual void open(uint64_t sessionID) = 0;
    // Move the selection by -1 or +1.
    virtual void move(uint64_t sessionID, int delta) = 0;
    // Alt was released: activate the selection and resolve the key forwarder.
    virtual void commit(uint64_t sessionID) = 0;
    // Tear the session down without activating anything.
    virtual void cancel(uint64_t sessionID) = 0;
    // Any other key while the switcher captures (arrows move, Backspace/Delete close a window).
    virtual void handleKey(uint64_t sessionID, int64_t key, uint64_t flags) = 0;
    // The wheel resizes the thumbnails.
    virtual void changeThumbnailSize(uint64_t sessionID, double delta) = 0;
    // The window id of the selected tile while a session is open and its selection is valid.
    virtual std::optional<uint32_t> selectedWindowID() = 0;
};

// Snap assist's picker. `handleKey` is called on the event-tap thread: it only decides whether
// the key is its own and queues its own main-thread work.
class SnapAssistTarget {
public:
    SnapAssistTarget() = default;
    SnapAssistTarget(const SnapAssistTarget&) = delete;
    SnapAssistTarget& operator=(const SnapAssistTarget&) = delete;
    virtual ~SnapAssistTarget() = default;

    // A key typed without Command, Control or Option: true when it is the picker's. Any other key
    // dismisses the picker.
    virtual bool handleKey(int64_t key, bool shift) = 0;
    // Event-tap thread: close the picker (a chord was pressed, which goes on to its own row).
    virtual void dismiss() = 0;
    // Offer the other windows after a window was snapped to one side.
    virtual void show(bool snappedLeft, uint32_t snappedWindowID) = 0;
};

// The snap-layouts panel over the front window. `handleKey` is called on the event-tap thread
// while it shows, like snap assist's.
class SnapLayoutTarget {
public:
    SnapLayoutTarget() = default;
    SnapLayoutTarget(const SnapLayoutTarget&) = delete;
    SnapLayoutTarget& operator=(const SnapLayoutTarget&) = delete;
    virtual ~SnapLayoutTarget() = default;

    virtual bool handleKey(int64_t key, bool shift) = 0;
    // Show the layouts of the front window's display over it; nothing without a front window.
    virtual void show() = 0;
};

// The Alt+Space window menu and its keyboard move. `handleMoveKey` is called on the event-tap
// thread, like snap assist's `handleKey`.
class WindowMenuTarget {
public:
    WindowMenuTarget() = default;
    WindowMenuTarget(const WindowMenuTarget&) = delete;
    WindowMenuTarget& operator=(const WindowMenuTarget&) = delete;
    virtual ~WindowMenuTarget() = default;

    virtual void show() = 0;
    virtual bool handleMoveKey(int64_t key, const WindowMoveTarget& target) = 0;
    virtual void endMove(bool restore) = 0;
};

// The Win+X menu.
class QuickLinkTarget {
public:
    QuickLinkTarget() = default;
    QuickLinkTarget(const QuickLinkTarget&) = delete;
    QuickLinkTarget& operator=(const QuickLinkTarget&) = delete;
    virtual ~QuickLinkTarget() = default;

    // Show the menu at the pointer; returns when it closes.
    virtual void show() = 0;
};

// A window dragged by its title bar, snapped where it is let go against a display's edge. Called on
// the event-tap thread: `dragged` for every mouse-dragged event, so it only stores the point (no
// lock, no allocation); the others queue their own main-thread work.
class WindowDragTarget {
public:
    WindowDragTarget() = default;
    WindowDragTarget(const WindowDragTarget&) = delete;
    WindowDragTarget& operator=(const WindowDragTarget&) = delete;
    virtual ~WindowDragTarget() = default;

    // The left button went down, went up, or moved while down (top-left-origin global coordinates).
    virtual void pressed(Point at) = 0;
    virtual void dragged(Point at) = 0;
    virtual void released(Point at) = 0;
    // Escape while the button is down: true when a window drag took it (its snap is off).
    virtual bool escape() = 0;
    // The button's release may have been lost (the tap was off): the drag ends without a snap.
    virtual void abandon() = 0;
};

// A click the program may take instead of what lies under it (a window's green button, a Dock
// icon). The tap holds such a press back while the main thread decides (`HeldClick`).
class ClickTarget {
public:
    ClickTarget() = default;
    ClickTarget(const ClickTarget&) = delete;
    ClickTarget& operator=(const ClickTarget&) = delete;
    virtual ~ClickTarget() = default;

    // Event-tap thread: whether a press at this point (top-left-origin global coordinates) with
    // these flags may be one; cheap, no Accessibility request.
    virtual bool mayTake(Point at, uint64_t flags) = 0;
    // Main thread: whether it is one to act on if it ends as a click; what it needs to act is kept
    // until `clicked`.
    virtual bool takes(Point at, uint64_t flags) = 0;
    // Main thread: the press ended as a click.
    virtual void clicked() = 0;
};

// The clipboard shelf.
class ShelfTarget {
public:
    ShelfTarget() = default;
    ShelfTarget(const ShelfTarget&) = delete;
    ShelfTarget& operator=(const ShelfTarget&) = delete;
    virtual ~ShelfTarget() = default;

    // Hide the shelf when it is open, otherwise show it.
    virtual void toggle() = 0;
};

} // namespace fenwold
