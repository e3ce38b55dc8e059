#include "PlaygroundSession.h"

#include "QtKeyMap.h"
#include "ports/KeyCodes.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/settings/SettingsWindow.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMenu>

namespace fenwold {

PlaygroundSession::PlaygroundSession(SimSession& session, const Platform& platform,
                                     const StartupOptions& options, bool virtualClock,
                                     StartingSettings startingSettings)
    : session_(session), platform_(platform), virtualClock_(virtualClock),
      startingSettings_(startingSettings), apps_(session), hardware_(session, apps_),
      log_(session.keyboardLayout) {
    desktop_ = std::make_unique<DesktopView>(session_, apps_, hardware_);
    // The program's panels get no pointer movement from Qt, as on a Mac while another
    // application is active: their hover comes from the program's pointer monitors.
    desktop_->hoverThroughMonitors(*platform_.screens, *platform_.mainQueue);
    // Qt's animations run on the real clock; on the virtual one panels show their end states.
    desktop_->setAnimates(!virtualClock_);
    SettingsDeps settings = SettingsDeps::of(platform_);
    settings.requestedTab = options.tab;
    settings.reapplyKeyMapping = [this] {
        if (delegate_) delegate_->hidRemap().apply();
    };
    settings.showWelcome = [this] {
        if (delegate_) delegate_->showWelcome();
    };
    views_ = std::make_unique<QtShellViews>(platform_, settings, std::make_unique<SlotStatusItem>(*desktop_),
                                            desktop_.get());
    delegate_ = std::make_unique<AppDelegate>(platform_, *views_, options);
    chooser_ = std::make_unique<ApplicationChooser>();
    session_.appShell.onChooseApplication = [this](std::function<void(const QUrl&)> chosen) {
        chooser_->ask(session_.workspace.installed(), std::move(chosen));
        desktop_->showWindow(*chooser_);
    };
    // The settings window that asked is the key window again.
    chooser_->onDone = [this] {
        if (SettingsWindow* settings = views_->settingsWindow(); settings && settings->isVisible())
            desktop_->showWindow(*settings);
    };

    desktop_->runModal = [this](const std::function<bool()>& done) { runModal(done); };
    hardware_.programKeyWindow = [this](const AppKey& key) { return deliverToProgram(key); };
    hardware_.onDecision = [this](const TapDecision& d) {
        const bool key = d.after.type == eventtype::keyDown || d.after.type == eventtype::keyUp;
        if (const auto window = programKeyWindow(); window && key) {
            log_.tapDecision(d, *window);
            return;
        }
        const auto front = session_.workspace.frontmostApp();
        log_.tapDecision(d, front ? appName(front->pid) : QStringLiteral("no application"));
    };
    apps_.onPosted = [this](const PostedKey& key) { log_.posted(key, appName(key.pid)); };
    // What the program opens, the simulated Mac acts out, and the log says.
    session_.workspace.onOpen = [this](const QUrl& url) {
        const auto opened = apps_.open(url);
        log_.note(
            QStringLiteral("open %1: %2")
                .arg(url.toDisplayString(), opened.value_or(QStringLiteral("no application opens it"))));
        desktop_->publishDock();
        desktop_->update();
    };
    layoutChanges_ = session_.inputSources.observeSelection([this] {
        const QString name = session_.keyboardLayout.typing().name;
        if (name == lastLayout_) return;
        lastLayout_ = name;
        log_.note(QStringLiteral("keyboard layout: %1").arg(name));
    });
    activations_ = session_.workspace.observe([this](const WorkspaceEvent& e) {
        if (e.kind == WorkspaceEvent::Kind::activated && e.pid != lastFront_) {
            lastFront_ = e.pid;
            log_.note(QStringLiteral("%1 is now in front").arg(appName(e.pid)));
        }
        if (e.kind == WorkspaceEvent::Kind::terminated)
            log_.note(QStringLiteral("%1 quit").arg(appName(e.pid)));
    });
    if (!virtualClock_) settleBeforeSleep();
}

void PlaygroundSession::settleBeforeSleep() {
    // On the real clock whatever changes the session (the host's input, the program's timers and
    // posted work) runs on Qt's loop; before the loop sleeps, the keys posted meanwhile reach the
    // applications and what changed is drawn. Nothing runs while nothing happens. Connected anew
    // each time, so that it comes after the other work done before sleeping (the main queue's
    // tolerant timers), and not again inside a modal loop it started.
    beforeSleep_ = QObject::connect(
        QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, desktop_.get(),
        [this] {
            settle();
            settleBeforeSleep();
        },
        Qt::SingleShotConnection);
}

void PlaygroundSession::connectSecondDisplay(SimSession& session) {
    session.display(1280, 800).rightOf(0);
}

PlaygroundSession::~PlaygroundSession() {
    QObject::disconnect(beforeSleep_);
    activations_ = {};
    layoutChanges_ = {};
    session_.appShell.onChooseApplication = nullptr;
    session_.workspace.onOpen = nullptr;
    delegate_.reset();
    views_.reset();
}

QString PlaygroundSession::appName(int32_t pid) {
    if (const auto app = session_.workspace.app(pid); app && app->name) return *app->name;
    // One that has just quit is no longer running, but its simulated application knows its name.
    if (SimApplication* app = apps_.byPid(pid)) return app->name();
    return QStringLiteral("pid %1").arg(pid);
}

void PlaygroundSession::start() {
    if (startingSettings_ != StartingSettings::kept) {
        // The simulated user has "Teach the Mac way" on, so the playground shows the hint HUD,
        // and has turned on the shortcuts that are off by default (Win+V, Alt+Space), so every
        // panel can be tried. Scripts and tests play as if the welcome's choice had been taken
        // too: every Windows-key shortcut on; a first run leaves that choice to the welcome.
        for (PrefKey key : {PrefKey::macHints, PrefKey::winV, PrefKey::altSpace})
            platform_.prefs->write(key, true);
        if (startingSettings_ == StartingSettings::demonstration)
            for (PrefKey key : winKeyRows())
                platform_.prefs->write(key, true);
        if (startingSettings_ == StartingSettings::demonstration)
            platform_.prefs->write(PrefKey::welcomeShown, true);
    }
    // Every simulated keyboard layout is an input source the user can pick (the F19 cycle too).
    session_.keyboardLayout.select(session_.keyboardLayout.typing().id);
    apps_.populate();
    session_.systemUI.startControlCentre();
    desktop_->publishDock();
    desktop_->refreshWindowImages();
    delegate_->applicationDidFinishLaunching();
    settle();
}

void PlaygroundSession::pollTools() {
    const auto tools = session_.processes.launched();
    for (; toolsSeen_ < tools.size(); ++toolsSeen_)
        log_.note(QStringLiteral("launched %1 %2")
                      .arg(tools[toolsSeen_].path, tools[toolsSeen_].arguments.join(' ')));
    const QStringList calls = session_.privateServices.calls();
    for (; privateCallsSeen_ < calls.size(); ++privateCallsSeen_)
        log_.note(QStringLiteral("private service: %1").arg(calls[privateCallsSeen_]));
    // The program's own log lines: why a shortcut passed, which layout shortcuts follow.
    const QStringList lines = session_.log.lines();
    for (; logLinesSeen_ < lines.size(); ++logLinesSeen_)
        log_.note(lines[logLinesSeen_]);
}

void PlaygroundSession::settle() {
    // Posted keys can queue main-thread work and the other way round; run both until quiet.
    for (int round = 0; round < 50; ++round) {
        int work = apps_.flush();
        if (virtualClock_) {
            session_.mainQueue.drain();
            work += static_cast<int>(session_.worker.runAll() + session_.background.runAll());
            work += apps_.flush();
        }
        if (work == 0) break;
    }
    pollTools();
    // Only what changed is drawn again: the screen (and the Dock's items where it draws them),
    // and the images of the windows whose content changed, for the program's previews.
    if (desktop_->updateIfChanged()) desktop_->publishDock();
    desktop_->refreshWindowImages();
}

void PlaygroundSession::advance(double seconds) {
    if (!virtualClock_) return;
    constexpr double kSlice = 0.01;
    double left = seconds;
    while (left > 1e-9) {
        const double step = std::min(kSlice, left);
        session_.mainQueue.advance(step);
        settle();
        left -= step;
    }
}

std::optional<QString> PlaygroundSession::programKeyWindow() const {
    if (session_.systemUI.panel() != SimSystemUI::Panel::none) return QStringLiteral("the system's panel");
    if (!delegate_) return std::nullopt;
    if (QMenu* menu = desktop_->trackedMenu()) {
        const auto* status = dynamic_cast<const SlotStatusItem*>(&views_->statusItem());
        return status && status->menu() == menu ? QStringLiteral("the status menu")
                                                : QStringLiteral("the window menu");
    }
    if (delegate_->shelf().isOpen()) return QStringLiteral("the clipboard shelf");
    if (QWidget* window = desktop_->keyProgramWindow()) return window->windowTitle();
    return std::nullopt;
}

bool PlaygroundSession::deliverToProgramWindow(const AppKey& key) {
    QWidget* window = desktop_->keyProgramWindow();
    if (!window) return false;
    // The key window takes the whole keystroke: buttons and check boxes act on the release.
    if (const auto press = qtKeyPress(key.keyCode, key.flags, session_.keyboardLayout)) {
        QWidget* target = window->focusWidget() ? window->focusWidget() : window;
        QKeyEvent down(QEvent::KeyPress, press->key, press->modifiers, press->text, key.autorepeat);
        desktop_->handOverKey(*target, down);
        QKeyEvent up(QEvent::KeyRelease, press->key, press->modifiers, press->text, key.autorepeat);
        desktop_->handOverKey(*target, up);
    }
    return true;
}

bool PlaygroundSession::deliverToProgram(const AppKey& key) {
    // The system's own panels come first: Escape closes them, Return answers a confirmation.
    if (session_.systemUI.panel() != SimSystemUI::Panel::none) {
        if (key.keyCode == kEsc) session_.systemUI.dismiss();
        if (key.keyCode == kReturn) session_.systemUI.confirm();
        desktop_->update();
        return true;
    }
    if (!delegate_) return false;
    if (desktop_->trackedMenu()) {
        desktop_->menuKey(key.keyCode, key.flags);
        return true;
    }
    ClipboardShelfController& shelf = delegate_->shelf();
    if (!shelf.isOpen()) return deliverToProgramWindow(key);
    // The shelf's panel is key while it is open: its own keys first, the way its key monitor
    // sees them on a Mac, then what the search field edits.
    ShelfKeyEvent event;
    event.keyCode = key.keyCode;
    event.flags = key.flags;
    event.isRepeat = key.autorepeat;
    if (const auto c = session_.keyboardLayout.typed(key.keyCode, key.shift()))
        event.characters = QString(*c);
    if (shelf.handle(event)) return true;
    auto* panel = dynamic_cast<QtShelfPanel*>(&shelf.panel());
    const bool searching = shelf.model().searchFocused() || !shelf.model().query().isEmpty();
    if (panel && searching && shelf.isOpen()) {
        if (const auto press = qtKeyPress(key.keyCode, key.flags, session_.keyboardLayout)) {
            QKeyEvent qt(QEvent::KeyPress, press->key, press->modifiers, press->text, key.autorepeat);
            desktop_->handOverKey(*panel->view()->searchField(), qt);
        }
    }
    return true;
}

void PlaygroundSession::runModal(const std::function<bool()>& done) {
    if (virtualClock_) {
        if (modalDriver) modalDriver(done);
        return;
    }
    if (done()) return;
    // What ends it (the menu closing) happens while the loop handles an event; it is asked before
    // the loop sleeps again rather than polled.
    QEventLoop loop;
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                     [&] {
                         if (done()) loop.quit();
                     });
    loop.exec();
}

} // namespace fenwold
