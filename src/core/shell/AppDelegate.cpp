#include "AppDelegate.h"

#include "AppIdentifier.h"
#include "core/input/Keys.h"
#include "core/settings/ExcludedApps.h"
#include "ports/Accessibility.h"
#include "ports/AppShell.h"
#include "ports/Log.h"
#include "ports/PrefsStore.h"
#include "ports/Updates.h"
#include "ports/WindowServer.h"

namespace fenwold {

AppDelegate::AppDelegate(const Platform& p, ShellViews& views, StartupOptions options,
                         StorageLocations storage, int macOSMajorVersion)
    : platform_(p), views_(views), options_(std::move(options)), prefs_(*p.prefs),
      inject_(*p.keySender, *p.workspace, *p.log),
      hints_(*p.prefs, *p.mainQueue, *p.screens,
             [this] { return views_.makeHintPanel(panelstyles::hint()); }),
      trace_(*p.prefs, *p.mainQueue, *p.clock), hidRemap_(*p.prefs, *p.processes, *p.log), windows_(p),
      capture_(*p.windowServer, p.screenCapture, [q = p.mainQueue] { return q->uptime(); }),
      store_(p, windows_, capture_, [this] { return metrics_.thumbH; }), windowActions_(windows_),
      tileOperations_(windows_, *p.workspace),
      clipboard_(
          storage.pinsFile, *p.pasteboard, [this] { return prefs_.winV(); },
          ClipboardStoreServices{p.mainQueue, p.clipboardQueue,
                                 [w = p.workspace] { return w->frontmostApp(); }, p.clock, appIdentifier()}),
      paste_(inject_), shelfToggle_(*this), heldClick_(*p.mainQueue, p.clickSender),
      menus_(*p.accessibility, *p.workspace, *p.mainQueue, inject_, &hints_, *p.log, &layout_),
      finder_(*p.prefs, *p.workspace, *p.accessibility, *p.mainQueue, inject_, hints_, *p.log, &menus_),
      quickLinksShow_(*this),
      winKeys_(*p.prefs, *p.mainQueue, *p.workspace, *p.accessibility, *p.privateServices, inject_,
               FenwoldKeys::Targets{&windowActions_, &shelfToggle_, &quickLinksShow_, &layout_, &menus_},
               macOSMajorVersion),
      layout_(*p.keyboardLayout, *p.mainQueue, *p.log), exclusions_(*p.prefs, *p.workspace),
      forwarder_(routing_,
                 [this](uint16_t key, uint64_t flags, int32_t pid) { inject_.post(key, flags, pid); }),
      secureInput_({p.secureInput, p.workspace, p.processes, p.mainQueue, p.log, &trace_, &hints_}),
      trayClicks_(
          *p.mainQueue, *p.screens, [this] { popTrayMenu(); }, [this] { openSettings(); }),
      trustGate_(*p.mainQueue, *p.accessibility,
                 AccessibilityGate::Handlers{[this] { armInputHandlers(); },
                                             [this] {
                                                 dispatcher_->pauseTap();
                                                 dimStatusIconWhileShortcutsCannotWork();
                                             },
                                             [this] {
                                                 dispatcher_->resumeTap();
                                                 dimStatusIconWhileShortcutsCannotWork();
                                             }}),
      prompts_([this] { trustGate_.start(); },
               [w = p.windowServer] {
                   if (!w->preflightScreenCapture()) w->requestScreenCapture();
               }),
      welcome_({p.prefs, p.accessibility, p.windowServer, p.workspace, p.mainQueue, p.loginItems}, prompts_) {
    windows_.setStore(&store_);
    shelf_ = std::make_unique<ClipboardShelfController>(
        clipboard_, ShelfServices{p.mainQueue, p.workspace, p.screens, &paste_, p.prefs},
        [this](const ShelfViewContext& context) {
            return views_.makeShelfPanel(context,
                                         panelstyles::shelf(platform_.screens->reduceTransparency()));
        });

    // The long-lived overlays, in the order they are made: Dock peek, snap assist, snap layouts,
    // window menu, then the switcher that routes keys to them.
    peekPanel_ = views_.makeTileGridPanel(peekModel_, metrics_, panelstyles::dockPeek());
    emptyPeekPanel_ = views_.makeEmptyPeekPanel(panelstyles::emptyPeek());
    peek_ = std::make_unique<PeekController>(PeekController::Parts{
        p, &windows_, &metrics_, &peekModel_, peekPanel_.get(), emptyPeekPanel_.get(), &tileOperations_});
    assist_ = std::make_unique<SnapAssistController>(
        SnapAssistController::Parts{&routing_, &windows_, p.screens, p.mainQueue, &metrics_},
        [this](SwitcherModel& model) {
            return views_.makeTileGridPanel(model, metrics_, panelstyles::snapAssist());
        });
    layouts_ = std::make_unique<SnapLayoutController>(
        SnapLayoutController::Parts{&routing_, &windows_, p.screens, p.mainQueue, p.prefs, assist_.get()},
        [this] { return views_.makeSnapLayoutPanel(panelstyles::snapLayouts()); });
    dragSnap_ = std::make_unique<DragSnapController>(
        DragSnapController::Parts{&windows_, p.screens, p.workspace, p.mainQueue, p.prefs, assist_.get(),
                                  &hints_, macOSMajorVersion},
        [this] { return views_.makeSnapOutlinePanel(panelstyles::snapOutline()); });
    greenButton_ =
        std::make_unique<GreenButton>(GreenButton::Parts{&windows_, p.workspace, p.prefs, &hints_});
    dockClick_ = std::make_unique<DockClick>(
        DockClick::Parts{peek_.get(), &windows_, p.workspace, p.screens, p.prefs});
    menuPresenter_ = views_.makeMenuPresenter();
    winMenu_ = std::make_unique<WindowMenuController>(p, windows_, routing_, assist_.get(), *menuPresenter_,
                                                      &trace_);
    quickLinks_ = std::make_unique<QuickLinkMenu>(p, winKeys_, *menuPresenter_);
    SwitcherSession::Parts session;
    session.routing = &routing_;
    session.forwarder = &forwarder_;
    session.windows = &windows_;
    session.operations = &tileOperations_;
    session.workspace = p.workspace;
    session.screens = p.screens;
    session.mainQueue = p.mainQueue;
    session.prefs = p.prefs;
    session.metrics = &metrics_;
    session.hints = &hints_;
    switcher_ = std::make_unique<SwitcherSession>(session, [this](SwitcherModel& model) {
        return views_.makeTileGridPanel(model, metrics_, panelstyles::switcher());
    });

    TapDispatcher::Parts parts;
    parts.prefs = p.prefs;
    parts.mainQueue = p.mainQueue;
    parts.routing = &routing_;
    parts.inject = &inject_;
    parts.hints = &hints_;
    parts.finder = &finder_;
    parts.winKeys = &winKeys_;
    parts.forwarder = &forwarder_;
    parts.workspace = p.workspace;
    parts.processes = p.processes;
    parts.inputSources = p.inputSources;
    parts.log = p.log;
    parts.trace = &trace_;
    parts.tap = p.eventTap;
    parts.windows = &windowActions_;
    parts.switcher = switcher_.get();
    parts.assist = assist_.get();
    parts.layouts = layouts_.get();
    parts.winMenu = winMenu_.get();
    parts.drag = dragSnap_.get();
    parts.clickTargets = {greenButton_.get(), dockClick_.get()};
    parts.heldClick = &heldClick_;
    parts.exclusions = &exclusions_;
    parts.layout = &layout_;
    parts.menus = &menus_;
    dispatcher_ = std::make_unique<TapDispatcher>(parts);
    // A resume that had to wait for its tap ends the pause later: the icon follows.
    dispatcher_->onPauseChanged([this] { dimStatusIconWhileShortcutsCannotWork(); });
}

// The tap's thread reaches most of the members: it goes before any of them.
AppDelegate::~AppDelegate() {
    dispatcher_->stopTap();
}

void AppDelegate::applicationDidFinishLaunching() {
    prefs_.registerDefaults();
    if (hidRemap_.isActive()) hidRemap_.apply();

    metrics_.setPreferred(prefs_.thumbH());
    metrics_.thumbH = metrics_.preferredThumbH;

    if (options_.clipboardPreview) {
        // The preview shows its own shelf of sample clips; the caller runs it.
        phase_ = Phase::launched;
        return;
    }
    clipboard_.start();
    shelf_->onVisibilityChange = [this](bool open) { routing_.setClipboardOpen(open); };
    shelf_->onOpen = [this] { closeOtherOverlays(true); };

    if (options_.hint) {
        // A demonstration of the panel: nothing else starts.
        hintDemo_ = hints_.startDemo();
        phase_ = Phase::launched;
        return;
    }
    if (prefs_.debugLog()) observeDebugNotifications();

    if (prefs_.launchAtLogin() && platform_.loginItems->status() != LoginItems::Status::enabled) {
        (void)platform_.loginItems->registerItem(); // a refusal is the user's call in the system settings
    }
    views_.installStatusItem([this](TrayClicks::Button button, int count) { trayClicked(button, count); });
    // While Secure Keyboard Entry hides every key from the tap, the icon is dimmed and the menu
    // says who holds it.
    secureInput_.onChange = [this] { dimStatusIconWhileShortcutsCannotWork(); };
    secureInput_.start();
    // A scheduled update found while another application is in front waits in the status menu
    // instead of bringing the program forward.
    platform_.updates->remindGently(
        [w = platform_.workspace] {
            const auto front = w->frontmostApp();
            return front && front->pid == w->ownPid();
        },
        [this](bool waiting) { updateWaiting_ = waiting; });
    platform_.updates->start();
    if (options_.settings) openSettings();
    phase_ = Phase::launched;
    // A new user reads what the permissions are for before the system asks for them.
    if (welcome_.firstRun()) {
        showWelcome();
        welcome_.askForGranted();
    } else {
        prompts_.askAll();
    }
}

void AppDelegate::showWelcome() {
    platform_.appShell->activateSelf();
    views_.showWelcome(welcome_);
}

void AppDelegate::observeDebugNotifications() {
    const QString prefix = appIdentifier();
    debugObservers_.push_back(
        platform_.prefs->observeDistributed(prefix + QStringLiteral(".debug.cycleInputSource"),
                                            [this] { InputSource::cycle(*platform_.inputSources); }));
    debugObservers_.push_back(platform_.prefs->observeDistributed(
        prefix + QStringLiteral(".debug.clipHistory"), [this] { shelf_->toggle(); }));
    debugObservers_.push_back(platform_.prefs->observeDistributed(
        prefix + QStringLiteral(".debug.windowMenu"), [this] { winMenu_->show(); }));
}

void AppDelegate::closeOtherOverlays(bool endMove) {
    peek_->hideNow();
    assist_->close();
    layouts_->close();
    if (endMove) winMenu_->endMove(false);
}

void AppDelegate::armInputHandlers() {
    if (phase_ == Phase::armed) return;
    phase_ = Phase::armed;
    peek_->setSuppressed(
        [this] { return !routing_.snapshot().switcherPhase.isClosed() || shelf_->isOpen(); });
    switcher_->onOpen = [this] { closeOtherOverlays(false); };
    store_.start();
    peek_->start();
    dispatcher_->startTap();
    platform_.log->line(QStringLiteral("Fenwold: input handlers armed"));
}

void AppDelegate::applicationWillTerminate() {
    // Nothing may reach the controllers from the tap's thread while the program winds down.
    dispatcher_->stopTap();
    // The key mapping outlives the program: leave the keyboard as it was.
    if (hidRemap_.isActive()) hidRemap_.set({});
}

void AppDelegate::applicationShouldHandleReopen() {
    if (!shelf_->isOpen()) openSettings();
}

void AppDelegate::openSettings() {
    shelf_->hide();
    platform_.appShell->activateSelf();
    views_.showSettings();
}

void AppDelegate::openClipboard() {
    shelf_->show();
}

void AppDelegate::trayClicked(TrayClicks::Button button, int clickCount) {
    trayClicks_.clicked(button, clickCount);
}

void AppDelegate::popTrayMenu() {
    views_.popStatusMenu(statusMenuItems(statusMenuState()),
                         [this](StatusAction action) { perform(action); });
}

StatusMenuState AppDelegate::statusMenuState() {
    StatusMenuState state;
    state.accessibilityRevoked = dispatcher_->tapPaused();
    if (secureInput_.on()) state.secureInputHolder = secureInput_.holderName();
    state.updateWaiting = updateWaiting_;
    menuFront_.reset();
    const auto front = platform_.workspace->frontmostApp();
    if (!front) return state;
    if (front->name && !front->name->isEmpty())
        state.frontName = front->name;
    else if (front->bundleID)
        state.frontName = front->bundleID;
    // Excluding the program itself would mean nothing: its own windows take no shortcuts.
    if (front->bundleID && !front->bundleID->isEmpty() && front->pid != platform_.workspace->ownPid()) {
        menuFront_ = front->bundleID;
        state.frontExcludable = true;
        state.frontExcluded = ExcludedApps(*platform_.prefs).contains(*front->bundleID);
    }
    return state;
}

void AppDelegate::dimStatusIconWhileShortcutsCannotWork() {
    views_.setStatusIconOpacity(secureInput_.on() || dispatcher_->tapPaused() ? 0.5 : 1.0);
}

void AppDelegate::perform(StatusAction action) {
    switch (action) {
    case StatusAction::openAccessibilitySettings:
        platform_.workspace->open(permissionPane(Permission::accessibility));
        break;
    case StatusAction::toggleExclusion:
        if (menuFront_) ExcludedApps(*platform_.prefs).toggle(*menuFront_);
        break;
    case StatusAction::openClipboard:
        openClipboard();
        break;
    case StatusAction::openSettings:
        openSettings();
        break;
    case StatusAction::checkForUpdates:
        // The update window must come to the front of an application without a Dock icon.
        platform_.appShell->activateSelf();
        platform_.updates->checkForUpdates();
        break;
    case StatusAction::quit:
        platform_.appShell->terminate();
        break;
    }
}

} // namespace fenwold
