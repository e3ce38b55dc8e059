#pragma once

#include "SimAccessibility.h"
#include "SimScreens.h"
#include "SimWindowServer.h"
#include "SimWorkspace.h"
#include "ports/MainQueue.h"

#include <QStringList>
#include <functional>
#include <map>
#include <optional>

namespace fenwold {

// One simulated window as its application and the window server know it.
struct SimWindow {
    uint32_t number = 0;
    int32_t pid = 0;
    QString title;
    Rect frame; // Accessibility coordinates: origin top-left of the primary screen, y down
    std::optional<QString> subrole = QStringLiteral("AXStandardWindow");
    bool minimized = false;
    bool fullscreen = false;
    int space = 1; // the Space the window lives on
    int64_t layer = 0;
    double alpha = 1.0;
    bool listedByAX = true; // reported in the application's "AXWindows"
    bool knownToAX = true;  // has an Accessibility element at all
    bool fullscreenSettable = true;
    // Sizes the application refuses to go beyond; both equal the size for a fixed-size window.
    std::optional<Size> minSize;
    std::optional<Size> maxSize;
    AXElement element;
    AXElement closeButton;
    AXElement zoomButton;
    uint64_t elementIdentifier = 0; // the element identifier inside its remote token
    QImage directImage;             // what the window server's direct image shows (on screen only)
    QImage captureImage;            // what the desktop-independent capture shows
    Rect frameBeforeFullscreen;
    int homeSpace = 1;
    std::optional<Rect> frameBeforeMenuMove;

    // A size the application accepts, nearest to the one asked for.
    Size acceptedSize(Size asked) const;
    bool resizable() const { return !minSize || !maxSize || *minSize != *maxSize; }
};

// How much of the "Window" menu an application offers.
enum class SimMenuStyle { full, withoutMoveAndResize, none };

// The windows of the simulated session: each application's Accessibility tree (windows, focused
// window, menu bar with a working "Window" menu), the window server's list and images, Spaces
// and native full screen with the delays real applications show. An application gets its tree
// when it first gets a window (or a menu setting); the window server's list is written from here
// once the first window is opened.
class SimWindows {
public:
    // Where a window draws its title bar and its close (0), minimise (1) and full-screen (2)
    // buttons, as its Accessibility elements report them.
    static constexpr double kTitleBarHeight = 28;
    static Rect buttonFrame(const Rect& windowFrame, int index);

    SimWindows(SimAccessibility& ax, SimWindowServer& server, SimWorkspace& workspace, SimScreens& screens,
               MainQueue& queue);
    SimWindows(const SimWindows&) = delete;
    SimWindows& operator=(const SimWindows&) = delete;

    // Where delayed reactions (full screen) are scheduled.
    void setQueue(MainQueue& queue);

    // Open a window; it becomes the front window and the application's focused window.
    uint32_t open(int32_t pid, const QString& title, Rect frame);
    std::optional<SimWindow> window(uint32_t number) const;
    std::vector<SimWindow> windowsOf(int32_t pid) const;
    // Change a window's state and republish it (no notification is sent).
    void update(uint32_t number, const std::function<void(SimWindow&)>& change);
    // The application closes the window (sends the element-destroyed notification).
    void close(uint32_t number);
    // The window is set in front of all others and becomes its application's focused window.
    void raise(uint32_t number);
    // The Dock's show-desktop: the windows of the current Space move aside, off the edges of
    // their display but a sliver; the next time they come back where they were, unless moved.
    void toggleDesktop();
    bool desktopShown() const;
    void setTitle(uint32_t number, const QString& title); // sends the title-changed notification
    // Stacking order, front to back, of every window the window server lists.
    std::vector<uint32_t> stacking() const;
    std::optional<uint32_t> focusedWindow(int32_t pid) const;
    // A window-list entry that belongs to no simulated application window (a menu-bar extra...).
    void addServerEntry(const WindowDescription& description, bool atFront = true);

    int currentSpace() const;
    void switchToSpace(int space); // announces the Space change
    // The Spaces of the session in order: the first two, and every one a window lives on.
    std::vector<int> spaces() const;
    // An item of any application's Apple menu was pressed (the system acts on it).
    std::function<void(const QString& title)> onAppleMenu;

    void setMenuStyle(int32_t pid, SimMenuStyle style);
    // Grey out (or enable again) a menu item of the application, found by its title.
    void setMenuItemEnabled(int32_t pid, const QString& title, bool enabled);
    // Add an item with a key equivalent (its character and the `AXMenuItemModifiers` bits) to the
    // application's menu of that title, made after the others when it has none; a press is
    // journalled as "menu <title>" and does `action`.
    void addKeyEquivalent(int32_t pid, const QString& menu, const QString& title, const QString& character,
                          int64_t modifiers = 0, std::function<void()> action = {});
    // Give the application an enhanced user interface switch, initially on.
    void setEnhancedUserInterface(int32_t pid, bool on);
    bool enhancedUserInterface(int32_t pid) const;
    // Whether the application sends Accessibility notifications about its windows.
    void setSendsNotifications(int32_t pid, bool on);
    // Frames set through "AXPosition"/"AXSize", menu presses and switch changes, in order.
    QStringList journal(int32_t pid) const;
    void clearJournal(int32_t pid);

    // Put the window into full screen at once, on a Space of its own (which becomes current).
    void setFullscreenNow(uint32_t number);

    // The front window of the current Space under a point, if any.
    std::optional<SimWindow> windowAt(Point point) const;

    // The window server made this window the front one (private front-process call).
    void frontFromWindowServer(int32_t pid, uint32_t number);

    double enterFullscreenDelay = 0.7;
    double exitFullscreenDelay = 0.6;

private:
    struct AppTree {
        AXElement app;
        AXElement menuBar;
        std::vector<uint32_t> order; // the application's own window order (front first)
        std::optional<uint32_t> focused;
        std::optional<bool> enhancedUI;
        bool notifications = true;
        SimMenuStyle style = SimMenuStyle::full;
        std::map<QString, AXElement> items; // menu items by title
        struct KeyEquivalent {
            QString menu, title, character;
            int64_t modifiers = 0;
            std::function<void()> action;
        };
        std::vector<KeyEquivalent> keyEquivalents;
        QStringList journal;
    };

    AppTree& tree(int32_t pid);
    // The steps of `open`: the window's record and elements, what pressing its buttons does, what
    // setting its attributes does, and putting it in front of its application's windows.
    SimWindow newWindow(int32_t pid, const QString& title, Rect frame);
    void answerPresses(const SimWindow& w);
    void answerAttributeSets(const SimWindow& w);
    uint32_t putInFront(const SimWindow& w);
    void buildMenus(int32_t pid);
    AXElement menuItem(int32_t pid, const QString& title, std::function<int32_t()> press);
    AXElement menu(int32_t pid, const std::vector<AXElement>& items);
    int32_t pressMenu(int32_t pid, const QString& item);
    void publish(const SimWindow& w);
    void publishApp(int32_t pid);
    void sync();
    bool onScreen(const SimWindow& w) const;
    Rect screenFrameAX(const Rect& axFrame, bool visible) const;
    void notify(int32_t pid, const QString& name, const AXElement& element);
    void setFullscreen(uint32_t number, bool on, std::optional<bool> leftTile = std::nullopt);
    void applyFullscreen(uint32_t number, bool on, std::optional<bool> leftTile);
    void onWorkspace(const WorkspaceEvent& event);
    void removeApp(int32_t pid);

    SimAccessibility& ax_;
    SimWindowServer& server_;
    SimWorkspace& workspace_;
    SimScreens& screens_;
    MainQueue* queue_;
    Subscription workspaceSub_;
    std::map<uint32_t, SimWindow> windows_;
    std::map<int32_t, AppTree> apps_;
    std::vector<uint32_t> stacking_;
    std::vector<std::pair<WindowDescription, bool>> extras_;
    uint32_t nextNumber_ = 100;
    int currentSpace_ = 1;
    int nextSpace_ = 2;
    bool ownsServerList_ = false;
    struct Aside {
        Rect before;
        Rect aside;
    };
    std::map<uint32_t, Aside> aside_; // the windows show-desktop moved, while it shows
};

} // namespace fenwold
