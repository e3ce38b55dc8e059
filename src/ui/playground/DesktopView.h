#pragma once

#include "DesktopScene.h"
#include "platform/sim/apps/SimHardware.h"
#include "ui/common/PanelHost.h"
#include "ui/shell/QtShellViews.h"

#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <map>
#include <optional>

class QMenu;
class QStyle;

namespace fenwold {

class ProgramWindowFrame;

// The simulated Mac's screen drawn 1:1 (one pixel a point): menu bar with the front application's
// name, the status item and the Spaces, the Dock, and the windows of the current Space in
// stacking order. More displays are drawn where they lie beside or below the primary one. Mouse and keyboard
// input inside it become the simulated Mac's hardware events. It is also where the program's panels live (as
// child widgets) and where its status item sits.
class DesktopView final : public QWidget, public PanelHost, public StatusItemSlot {
public:
    DesktopView(SimSession& session, SimApps& apps, SimHardware& hardware, QWidget* parent = nullptr);
    ~DesktopView() override;

    // PanelHost
    QWidget* container() const override { return const_cast<DesktopView*>(this); }
    QRect toWidget(const Rect& frame) const override;
    bool animates() const override { return animates_; }
    void setAnimates(bool on) { animates_ = on; }
    // Not while the screen is shown scaled: a child widget with an opacity effect inside a scaled
    // view draws at its own size, over what lies beside it, until the effect goes.
    bool fades() const override;
    // Menus open inside the screen and are tracked while the session runs on (`runModal`).
    QAction* trackMenu(QMenu& menu, QPoint at) const override;
    // The program's windows are framed inside the screen, centred near its top when first shown.
    void showWindow(QWidget& window) const override;
    // The visible frame of the simulated screen, without a title bar.
    QSize windowRoom() const override;
    // The screen is the simulated Mac's window server: it says where each of its clicks lands,
    // and the playground window where the clicks on menus it shows over the screen land.
    Subscription observeClicks(std::function<void(QWidget* landedIn)> handler) const override;
    void clickLanded(QWidget* landedIn) const;
    // Panels are numbered as windows of the simulated Mac's window server, which the screen is:
    // it answers what lies frontmost at a point (`Screens::windowNumberAt`).
    int64_t windowNumber(const QWidget& content) const override;
    // StatusItemSlot
    void install(const QImage& icon, std::function<void(TrayClicks::Button, int)> onClick) override;
    void setIcon(const QImage& icon) override;
    // The status menu opens inside the screen under the item and takes the keys while open.
    void showMenu(QMenu& menu) override;

    QSize sizeHint() const override;
    // Where things are drawn, in points from the screen's top-left.
    QRect statusItemRect() const;
    QRect menuBarRect() const;
    std::optional<QRect> dockIconRect(int32_t pid) const;
    QRect spaceButtonRect(int space) const;
    // The input menu's label of the selected keyboard layout.
    QRect inputMenuRect() const;
    // The primary display and its visible frame (without the menu bar and the Dock).
    QRect screenRect() const;
    QRect visibleRect() const;
    // The contents of the program's panels, and its regular windows showing in the screen.
    std::vector<QWidget*> programPanels() const;
    std::vector<QWidget*> programWindows() const;
    // A display was connected: the view grows to span them all.
    void displaysChanged();
    std::vector<int> spaces() const;
    // The visible windows of the current Space, front first.
    std::vector<SimWindow> visibleWindows() const;

    // Mouse input in the screen's coordinates, from the host's pointer (the playground window
    // hands its presses, moves and releases over the screen here) or a script: over one of the
    // program's panels or windows a press goes to that widget, its moves and release follow it,
    // and a right press also asks for the widget's context menu, as a Mac's window server and Qt
    // deliver them; elsewhere it is the simulated Mac's. Moves go to the program's windows
    // directly, and reach its panels only through the program's pointer monitors. A press
    // outside an open menu only closes the menu, as on a Mac.
    void pointerMove(QPoint at);
    void pointerDown(QPoint at, int clickCount, bool rightButton = false);
    void pointerUp(QPoint at, int clickCount);

    // The Dock's side of the session: a Dock process whose Accessibility items sit where the icons
    // are drawn (what the program's Dock hit-test reads) and the Dock's orientation preference.
    void publishDock();
    int32_t dockPid() const { return dockPid_; }

    // Draw the screen again if what it shows changed since it was last asked; true when it did.
    bool updateIfChanged();
    // Give every window whose look changed the image of its content, for the program's previews.
    void refreshWindowImages();
    // The screen with its panels, as an image.
    QImage snapshot();

    // Keys typed into the view become hardware keys, unless the view hands them to the host
    // (the capture toggle's way out); true when the key was one of those.
    std::function<bool(QKeyEvent*)> interceptKey;
    // Runs the session on until `done` answers true: the program's call that tracks a menu
    // returns only when the menu closes, as on a Mac, while keys and time keep coming.
    std::function<void(const std::function<bool()>& done)> runModal;
    // The open menu (the window menu being tracked, the status menu), if any, and a key-down for
    // it: arrows, Return and Escape work it as Qt does, and a letter selects the first item whose
    // title starts with it, as typing into a Mac menu does.
    QMenu* trackedMenu() const { return trackedMenu_; }
    void menuKey(uint16_t macKeyCode, uint64_t macFlags);
    // The program's own window (settings) that is key: it is when it opens or is clicked, until a
    // click on the simulated screen hands the keys back to the applications.
    QWidget* keyProgramWindow() const;
    // Hand a key the tap passed to one of the program's widgets on the screen. A key the widget
    // leaves travels up to the screen, which must not take it for a new keystroke.
    void handOverKey(QWidget& target, QKeyEvent& event);

protected:
    // Panels are child widgets of the screen.
    std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const override;
    void paintEvent(QPaintEvent*) override;
    void keyPressEvent(QKeyEvent*) override;
    void keyReleaseEvent(QKeyEvent*) override;
    void focusOutEvent(QFocusEvent*) override;
    bool focusNextPrevChild(bool) override { return false; }

private:
    enum class WindowPart { none, close, minimize, zoom, titleBar, content };
    enum class DockEdge { bottom, left, right };
    DockEdge dockEdge() const;

    int64_t windowNumberAt(QPoint at) const;
    // The program's widget a script's pointer is over, if any.
    QWidget* programWidgetAt(QPoint at) const;
    // Whether the widget belongs to one of the program's panels (rather than one of its windows).
    bool isPanel(const QWidget& widget) const;
    void sendMouse(QWidget& target, QEvent::Type type, QPoint at, Qt::MouseButton button) const;
    // Mouse input that reaches the screen itself.
    void screenMove(QPoint at);
    void screenDown(QPoint at, int clickCount, bool rightButton);
    // What the Mac does with a press that reached it (the tap passed it, or it was posted again).
    void windowServerDown(QPoint at, int clickCount, bool rightButton, uint64_t flags);
    void screenUp(QPoint at, int clickCount);
    // Shows a menu as a child of the screen with its top-left near `at`; it is the open menu until
    // it hides.
    void openMenu(QMenu& menu, QPoint at) const;
    // The input menu under its label: the keyboard layouts, the selected one ticked.
    void openInputMenu();

    // Every display (or its visible frame) where the view draws it; the view spans them all.
    std::vector<QRect> displayRects(bool visible) const;
    QRect desktopRect() const;
    std::vector<SimApplication*> dockApps() const;
    void paintMenuBar(QPainter& p) const;
    void paintDock(QPainter& p) const;
    DesktopScene scene() const;
    WindowLook lookOf(const SimWindow& w) const;
    void paintWindow(QPainter& p, const SimWindow& w, bool active) const;
    WindowPart partAt(const SimWindow& w, QPoint at) const;
    void bringForward(const SimWindow& w);
    void zoom(const SimWindow& w);

    SimSession& session_;
    SimApps& apps_;
    SimHardware& hardware_;
    QImage statusIcon_;
    std::function<void(TrayClicks::Button, int)> statusClick_;
    bool animates_ = true;
    int32_t dockPid_ = 0;
    std::map<int32_t, AXElement> dockItems_; // by application pid
    mutable QPointer<QMenu> trackedMenu_;
    mutable QPointer<ProgramWindowFrame> keyFrame_;
    bool handingOver_ = false;
    mutable std::vector<QPointer<QWidget>> panels_; // the contents of the program's panels
    QPointer<QWidget> pressedWidget_;               // the program's widget a script's press went to
    Qt::MouseButton pressedButton_ = Qt::LeftButton;
    bool dismissing_ = false; // the press closed a menu; its release goes nowhere
    mutable ObserverList clicks_;
    std::unique_ptr<QMenu> inputMenu_;
    std::unique_ptr<QStyle> macMenuStyle_;
    mutable QPointer<QWidget> landed_; // where the click being told of landed
    // The scene when the screen was last asked to draw, and what each window's image was drawn
    // from.
    DesktopScene shown_;
    std::map<uint32_t, WindowLook> imaged_;
};

} // namespace fenwold
