#pragma once

#include "AccessibilityGate.h"
#include "SecureInputWatch.h"
#include "StatusMenu.h"
#include "TrayClicks.h"
#include "Welcome.h"
#include "core/clipboard/ClipboardShelfController.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/hints/HintHUD.h"
#include "core/input/ExclusionGate.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/FinderKeys.h"
#include "core/input/HIDRemap.h"
#include "core/input/HeldClick.h"
#include "core/input/Inject.h"
#include "core/input/InputRoutingState.h"
#include "core/input/MenuEquivalents.h"
#include "core/input/ShortcutLayout.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/input/TapDispatcher.h"
#include "core/input/Trace.h"
#include "core/menus/QuickLinkMenu.h"
#include "core/menus/WindowMenuController.h"
#include "core/peek/DockClick.h"
#include "core/peek/PeekController.h"
#include "core/settings/Prefs.h"
#include "core/shell/CommandLine.h"
#include "core/shell/PanelStyles.h"
#include "core/shell/WindowActionsBridge.h"
#include "core/snap/DragSnapController.h"
#include "core/snap/GreenButton.h"
#include "core/snap/SnapAssistController.h"
#include "core/snap/SnapLayoutController.h"
#include "core/switcher/SwitcherSession.h"
#include "core/switcher/TileGrid.h"
#include "core/switcher/TileGridPanel.h"
#include "core/switcher/WindowTileOperations.h"
#include "core/windows/WindowCapture.h"
#include "core/windows/WindowStore.h"
#include "core/windows/Windows.h"
#include "ports/Platform.h"

#include <memory>
#include <optional>
#include <vector>

namespace fenwold {

// What the application shell shows, made by the user-interface layer.
class ShellViews {
public:
    ShellViews() = default;
    ShellViews(const ShellViews&) = delete;
    ShellViews& operator=(const ShellViews&) = delete;
    virtual ~ShellViews() = default;

    // The overlays' panels, each in its floating panel's style.
    virtual std::unique_ptr<HintPanel> makeHintPanel(const PanelStyle& style) = 0;
    // Install the status item; clicks arrive with their button and click count.
    virtual void installStatusItem(std::function<void(TrayClicks::Button, int clickCount)> onClick) = 0;
    virtual bool hasStatusItem() const = 0;
    // Open the status menu under the item; the chosen action is reported back.
    virtual void popStatusMenu(const std::vector<StatusMenuItem>& items,
                               std::function<void(StatusAction)> chosen) = 0;
    // Draw the status icon at this opacity.
    virtual void setStatusIconOpacity(double opacity) = 0;
    // Build the settings window on first use (and keep it), then bring it to the front.
    virtual void showSettings() = 0;
    // Show the welcome window (built on first use and kept); it reports its opening and closing
    // to `welcome`.
    virtual void showWelcome(Welcome& welcome) = 0;
    virtual std::unique_ptr<TileGridPanel> makeTileGridPanel(SwitcherModel& model, const Metrics& metrics,
                                                             const PanelStyle& style) = 0;
    virtual std::unique_ptr<EmptyPeekPanel> makeEmptyPeekPanel(const PanelStyle& style) = 0;
    virtual std::unique_ptr<SnapLayoutPanel> makeSnapLayoutPanel(const PanelStyle& style) = 0;
    virtual std::unique_ptr<SnapOutlinePanel> makeSnapOutlinePanel(const PanelStyle& style) = 0;
    virtual std::unique_ptr<MenuPresenter> makeMenuPresenter() = 0;
    virtual std::unique_ptr<ShelfPanel> makeShelfPanel(const ShelfViewContext& context,
                                                       const PanelStyle& style) = 0;
};

// Where the program keeps its state on disk.
struct StorageLocations {
    std::optional<QString> pinsFile; // the clipboard pins; none keeps pins in memory only
};

// The root object of a normal run: owns the long-lived controllers, installs the status item,
// asks for the permissions and arms the input side once Accessibility is granted.
class AppDelegate {
public:
    AppDelegate(const Platform& platform, ShellViews& views, StartupOptions options,
                StorageLocations storage = {}, int macOSMajorVersion = 14);
    AppDelegate(const AppDelegate&) = delete;
    AppDelegate& operator=(const AppDelegate&) = delete;
    ~AppDelegate();

    void applicationDidFinishLaunching();
    void applicationWillTerminate();
    void applicationShouldHandleReopen();
    void openSettings();
    // The first-run welcome, also reachable from the settings' About tab.
    void showWelcome();
    void openClipboard();
    void trayClicked(TrayClicks::Button button, int clickCount);
    void popTrayMenu();
    void armInputHandlers();

    enum class Phase { constructed, launched, armed };
    Phase phase() const { return phase_; }
    InputRoutingState& routing() { return routing_; }
    HintHUD& hints() { return hints_; }
    Metrics& metrics() { return metrics_; }
    WindowStore& store() { return store_; }
    Windows& windows() { return windows_; }
    HIDRemap& hidRemap() { return hidRemap_; }
    const Prefs& prefs() const { return prefs_; }
    ClipboardStore& clipboard() { return clipboard_; }
    ClipboardShelfController& shelf() { return *shelf_; }
    PeekController& peek() { return *peek_; }
    SnapAssistController& assist() { return *assist_; }
    SnapLayoutController& snapLayouts() { return *layouts_; }
    DragSnapController& dragSnap() { return *dragSnap_; }
    HeldClick& heldClick() { return heldClick_; }
    WindowMenuController& windowMenu() { return *winMenu_; }
    QuickLinkMenu& quickLinks() { return *quickLinks_; }
    FenwoldKeys& winKeys() { return winKeys_; }
    SwitcherSession& switcher() { return *switcher_; }
    SecureInputWatch& secureInput() { return secureInput_; }
    Welcome& welcome() { return welcome_; }

private:
    // Win+V toggles the shelf.
    class ShelfToggle final : public ShelfTarget {
    public:
        explicit ShelfToggle(AppDelegate& owner) : owner_(owner) {}
        void toggle() override { owner_.shelf_->toggle(); }

    private:
        AppDelegate& owner_;
    };
    // Win+X opens the quick link menu, made with the pop-up menus after the Win keys.
    class QuickLinksShow final : public QuickLinkTarget {
    public:
        explicit QuickLinksShow(AppDelegate& owner) : owner_(owner) {}
        void show() override { owner_.quickLinks_->show(); }

    private:
        AppDelegate& owner_;
    };

    void perform(StatusAction action);
    // Half opacity while something stops every shortcut (Secure Keyboard Entry, a revoked
    // Accessibility permission).
    void dimStatusIconWhileShortcutsCannotWork();
    StatusMenuState statusMenuState();
    void observeDebugNotifications();
    // Closes the Dock peek, snap assist and the snap layouts (and, for the shelf, a keyboard
    // window move).
    void closeOtherOverlays(bool endMove);

    Platform platform_;
    ShellViews& views_;
    StartupOptions options_;
    Prefs prefs_;
    Metrics metrics_;

    // Held in this order: the routing state first, then the controllers that share it.
    InputRoutingState routing_;
    Inject inject_;
    HintHUD hints_;
    Trace trace_;
    HIDRemap hidRemap_;
    Windows windows_;
    WindowCapture capture_;
    WindowStore store_;
    WindowActionsBridge windowActions_;
    WindowTileOperations tileOperations_;
    ClipboardStore clipboard_;
    InjectPaste paste_;
    std::unique_ptr<ClipboardShelfController> shelf_;
    ShelfToggle shelfToggle_;
    SwitcherModel peekModel_;
    std::unique_ptr<TileGridPanel> peekPanel_;
    std::unique_ptr<EmptyPeekPanel> emptyPeekPanel_;
    std::unique_ptr<PeekController> peek_;
    std::unique_ptr<SnapAssistController> assist_;
    std::unique_ptr<SnapLayoutController> layouts_;
    std::unique_ptr<DragSnapController> dragSnap_;
    std::unique_ptr<GreenButton> greenButton_;
    std::unique_ptr<DockClick> dockClick_;
    HeldClick heldClick_;
    std::unique_ptr<MenuPresenter> menuPresenter_;
    std::unique_ptr<WindowMenuController> winMenu_;
    MenuEquivalents menus_;
    FinderKeys finder_;
    QuickLinksShow quickLinksShow_;
    FenwoldKeys winKeys_;
    std::unique_ptr<QuickLinkMenu> quickLinks_;
    ShortcutLayout layout_;
    ExclusionGate exclusions_;
    SwitcherKeyForwarder forwarder_;
    std::unique_ptr<SwitcherSession> switcher_;
    std::unique_ptr<TapDispatcher> dispatcher_;

    SecureInputWatch secureInput_;
    TrayClicks trayClicks_;
    AccessibilityGate trustGate_;
    PermissionPrompts prompts_;
    Welcome welcome_;
    // The excludable application in front when the status menu last opened.
    std::optional<QString> menuFront_;
    TimerHandle hintDemo_;
    std::vector<Subscription> debugObservers_;
    bool updateWaiting_ = false; // an update waits in the status menu
    Phase phase_ = Phase::constructed;
};

} // namespace fenwold
