#pragma once

#include "Lifetime.h"
#include "WindowActivation.h"
#include "WindowInfo.h"
#include "WindowStore.h"
#include "ports/Platform.h"
#include "ports/Screens.h"
#include "ports/Workspace.h"

#include <QStringList>
#include <functional>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

namespace fenwold {

// Reading, moving and activating windows. One instance lives for the whole run; it owns the snap
// memory. Everything runs on the main thread.
class Windows {
public:
    using Snap = WindowSnap;
    using Mode = WindowMode;

    // What a snap produced and what the window looked like before the first snap of the chain
    // (Accessibility coordinates).
    struct SnapRecord {
        Snap kind = Snap::left;
        Rect rect;
        Rect original;
    };

    // Applications never quit by closing their last window.
    static const QStringList neverQuit;

    explicit Windows(const Platform& platform);
    Windows(const Windows&) = delete;
    Windows& operator=(const Windows&) = delete;

    // The store that `list()` reads and activation updates; may stay unset.
    void setStore(WindowStore* store);

    // --- Enumeration ---
    // The listable windows of one application, in the application's own order.
    std::vector<WindowInfo> enumerate(const RunningApp& app);
    // Window number -> stacking rank (0 at the front) of the on-screen windows.
    std::unordered_map<uint32_t, int> zOrder();
    // The frontmost ordinary window.
    std::optional<WindowTarget> frontmostWindow();
    std::optional<uint32_t> focusedWindowID(int32_t pid);
    // Calls `body` once with the element of window `id` when the application lists it.
    bool withAXWindow(int32_t pid, uint32_t id, const std::function<void(const AXElement&)>& body);
    // The switcher list (the store's snapshot); empty without a store.
    std::vector<WindowInfo> list();
    // Asks the store, on the next turn of the main queue, to refresh these windows' previews.
    void loadThumbnails(std::vector<WindowInfo> windows, WindowStore::Apply apply,
                        WindowStore::Remove remove);

    // --- Operations ---
    // Snaps on the window's own display, or on the one given, where the window is carried first.
    // Restoring later gives the window the frame it had before the first snap of the chain, or the
    // one given as `original` (where a drag picked it up).
    void snap(Snap snap, std::optional<WindowTarget> target = std::nullopt,
              std::optional<ScreenInfo> display = std::nullopt, std::optional<Rect> original = std::nullopt);
    // Moves the window to the display on one side, wrapping round at the ends: a snapped or
    // maximised window takes the same zone there, any other keeps its size and its place in the
    // visible frame as far as they fit. Nothing with one display or in full screen.
    void moveToDisplay(bool right, std::optional<WindowTarget> target = std::nullopt);
    void restoreOriginal(int32_t pid, uint32_t id);
    std::optional<Snap> currentSnap(int32_t pid, uint32_t id);
    Mode mode(int32_t pid, uint32_t id);
    void toggleFullscreen(int32_t pid, uint32_t id);
    void fullscreenTile(bool left, std::optional<WindowTarget> target = std::nullopt);
    void minimize(const WindowInfo& info);
    void minimizeFrontmost();
    void minimizeAll(bool exceptFrontmost);
    void close(const WindowInfo& info);
    void closeFrontmostWindowOrQuit();
    void moveTo(int32_t pid, uint32_t id, Point origin);
    std::optional<Rect> axFrame(int32_t pid, uint32_t id);
    std::optional<Rect> closeButtonFrame(int32_t pid, uint32_t id);
    // The window whose title bar is under a point (Accessibility coordinates), right of the
    // window's buttons.
    std::optional<WindowTarget> titlebarHit(Point point);
    // The same, with the window's bounds as the window server had them at that moment.
    std::optional<std::pair<WindowTarget, Rect>> titlebarHitWithBounds(Point point);
    // The window whose top-left corner, where its title-bar buttons are, is under a point. Callable
    // from the event-tap thread (it reads the window server only).
    std::optional<WindowTarget> titlebarButtonsHit(Point point);
    // The frame of a standard window's green button, when it is one a click may maximise: the
    // window is not in full screen and the button is not greyed out.
    std::optional<Rect> greenButtonFrame(int32_t pid, uint32_t id);
    const std::unordered_map<uint32_t, SnapRecord>& snapMemory() const { return snapMemory_; }
    // Forgets the window's snap and answers what it was: the window is being moved by other means.
    std::optional<SnapRecord> takeSnapRecord(uint32_t id);

    // --- Activation ---
    // Brings one window to the front with keyboard focus.
    void activate(const WindowInfo& info);
    WindowActivation& activation() { return activation_; }

    // --- Building blocks of the operations ---
    void applySnap(Snap snap, int32_t pid, uint32_t id, std::optional<Rect> original = std::nullopt);
    void frameSnap(Snap snap, int32_t pid, uint32_t id);
    // Carries a window from another display onto this one, as `moveToDisplay` carries a plain one.
    void carryTo(const ScreenInfo& display, int32_t pid, uint32_t id);
    void setAXFrame(int32_t pid, uint32_t id, Rect frame);
    // The screen holding an Accessibility rectangle's top-left corner.
    std::optional<ScreenInfo> screen(const Rect& containingAX);
    // That screen's visible frame in Accessibility coordinates.
    std::optional<Rect> visibleFrameAX(const Rect& containingAX);
    std::optional<bool> fullscreenState(int32_t pid, uint32_t id);
    void whenSettled(int tries, std::function<bool()> condition, std::function<void()> then);
    void whenActive(int32_t pid, std::function<void()> action);
    void whenNotFullscreen(int32_t pid, uint32_t id, std::function<void()> action);
    void focus(int32_t pid, uint32_t id);
    void pressTileItem(bool left, int32_t pid, uint32_t id);
    bool pressWindowMenuItem(const QStringList& path, int32_t pid);
    // An item of an application's menu bar, by the titles from the menu down to it; false when
    // there is none, it is disabled or the press fails.
    bool pressMenuItem(const QString& menu, const QStringList& path, int32_t pid);
    // The same in the front application's menu bar, the one the menu bar shows.
    bool pressFrontMenuItem(const QString& menu, const QStringList& path);
    std::optional<AXElement> child(const AXElement& of, const QString& titled);
    bool pressButton(const AXElement& window, const QString& attribute);

    // The menu path of a snap below the "Window" menu; empty for the thirds, which it lacks.
    static QStringList menuPath(Snap snap);

private:
    std::optional<WindowTarget> resolveTarget(std::optional<WindowTarget> target);
    std::optional<RunningApp> regularApp(int32_t pid) const;
    // The ordinary window of a regular application in front at a point, with its bounds; nothing
    // where another program's window or the program's own is in front.
    std::optional<std::pair<WindowTarget, Rect>> ordinaryWindowAt(Point point);
    AXElement elementFor(const WindowInfo& info);

    Platform platform_;
    Accessibility& ax_;
    Workspace& workspace_;
    WindowServer& server_;
    MainQueue& queue_;
    WindowStore* store_ = nullptr;
    WindowActivation activation_;
    std::unordered_map<uint32_t, SnapRecord> snapMemory_;
    Lifetime lifetime_;
};

} // namespace fenwold
