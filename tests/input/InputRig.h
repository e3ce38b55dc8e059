#pragma once

// A simulated session wired to the input path, with recording stand-ins for the collaborators
// other subsystems build.

#include "core/hints/HintHUD.h"
#include "core/input/DispatchTargets.h"
#include "core/input/ExclusionGate.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/FinderKeys.h"
#include "core/input/HeldClick.h"
#include "core/input/Inject.h"
#include "core/input/InputRoutingState.h"
#include "core/input/Keys.h"
#include "core/input/MenuEquivalents.h"
#include "core/input/ShortcutLayout.h"
#include "core/input/SwitcherKeyForwarder.h"
#include "core/input/TapDispatcher.h"
#include "core/input/Trace.h"
#include "core/input/WindowActions.h"
#include "core/settings/Prefs.h"
#include "platform/sim/SimSession.h"
#include "support/RecordingHintPanel.h"

#include <QStringList>
#include <memory>
#include <mutex>

#include <ostream>

// Readable failure messages for texts.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace fenwold::testing {

// Every call any stand-in received, in order, as readable text.
class CallLog {
public:
    void add(const QString& call) {
        std::lock_guard guard(mutex_);
        calls_ << call;
    }
    QStringList calls() const {
        std::lock_guard guard(mutex_);
        return calls_;
    }
    void clear() {
        std::lock_guard guard(mutex_);
        calls_.clear();
    }

private:
    mutable std::mutex mutex_;
    QStringList calls_;
};

class RecordingSwitcher final : public SwitcherSessionTarget {
public:
    explicit RecordingSwitcher(CallLog& log) : log_(&log) {}
    void open(uint64_t id) override { log_->add(QStringLiteral("open %1").arg(id)); }
    void move(uint64_t id, int delta) override { log_->add(QStringLiteral("move %1 %2").arg(id).arg(delta)); }
    void commit(uint64_t id) override {
        log_->add(QStringLiteral("commit %1").arg(id));
        if (onCommit) onCommit(id);
    }
    void cancel(uint64_t id) override { log_->add(QStringLiteral("cancel %1").arg(id)); }
    void handleKey(uint64_t id, int64_t key, uint64_t) override {
        log_->add(QStringLiteral("switcherKey %1 %2").arg(id).arg(key));
    }
    void changeThumbnailSize(uint64_t id, double delta) override {
        log_->add(QStringLiteral("thumbs %1 %2").arg(id).arg(delta));
    }
    std::optional<uint32_t> selectedWindowID() override { return selected; }
    std::optional<uint32_t> selected;
    std::function<void(uint64_t)> onCommit; // what the real commit does after activating

private:
    CallLog* log_;
};

class RecordingAssist final : public SnapAssistTarget {
public:
    explicit RecordingAssist(CallLog& log) : log_(&log) {}
    bool handleKey(int64_t key, bool shift) override {
        log_->add(QStringLiteral("assistKey %1%2").arg(key).arg(shift ? " shift" : ""));
        return takes;
    }
    void show(bool left, uint32_t id) override {
        log_->add(QStringLiteral("assist %1 %2").arg(left ? "left" : "right").arg(id));
    }
    void dismiss() override { log_->add(QStringLiteral("assistDismissed")); }
    bool takes = true;

private:
    CallLog* log_;
};

class RecordingMenu final : public WindowMenuTarget {
public:
    explicit RecordingMenu(CallLog& log) : log_(&log) {}
    void show() override { log_->add(QStringLiteral("menu")); }
    bool handleMoveKey(int64_t key, const WindowMoveTarget& t) override {
        log_->add(QStringLiteral("moveKey %1 %2").arg(key).arg(t.id));
        return takes;
    }
    void endMove(bool restore) override {
        log_->add(QStringLiteral("endMove %1").arg(restore ? "restore" : "keep"));
    }
    bool takes = true;

private:
    CallLog* log_;
};

QString snapName(SnapKind s);

// A front window whose snap and full-screen state the test sets.
class RecordingWindows final : public WindowActions {
public:
    explicit RecordingWindows(CallLog& log) : log_(&log) {}
    std::optional<WindowRef> frontmostWindow() override { return front; }
    std::optional<bool> fullscreenState(const WindowRef&) override { return fullscreen; }
    void whenNotFullscreen(const WindowRef& w, std::function<void()> action) override {
        log_->add(QStringLiteral("leaveFullscreen %1").arg(w.id));
        fullscreen = false;
        action();
    }
    void toggleFullscreen(const WindowRef& w) override {
        log_->add(QStringLiteral("toggleFullscreen %1").arg(w.id));
    }
    void applySnap(SnapKind s, const WindowRef& w) override {
        log_->add(QStringLiteral("snap %1 %2").arg(snapName(s)).arg(w.id));
    }
    std::optional<SnapKind> currentSnap(const WindowRef&) override { return snap; }
    void moveToDisplay(bool right, const WindowRef& w) override {
        log_->add(QStringLiteral("moveToDisplay %1 %2").arg(right ? "right" : "left").arg(w.id));
    }
    void minimizeFrontmost() override { log_->add(QStringLiteral("minimizeFrontmost")); }
    void minimizeAll(bool except) override {
        log_->add(QStringLiteral("minimizeAll %1").arg(except ? "except" : "all"));
    }
    void closeFrontmostWindowOrQuit() override { log_->add(QStringLiteral("closeOrQuit")); }
    std::optional<WindowRef> titlebarHit(Point p) override {
        return titlebar.contains(p) ? std::optional<WindowRef>(WindowRef{front ? front->pid : 1, 77})
                                    : std::nullopt;
    }
    bool pressMenuItem(const QString& menu, const QStringList& path) override {
        log_->add(QStringLiteral("press %1 › %2").arg(menu, path.join(QStringLiteral(" › "))));
        return true;
    }

    std::optional<WindowRef> front = WindowRef{600, 7};
    std::optional<bool> fullscreen = false;
    std::optional<SnapKind> snap;
    Rect titlebar{100, 100, 400, 30};

private:
    CallLog* log_;
};

class RecordingShelf final : public ShelfTarget {
public:
    explicit RecordingShelf(CallLog& log) : log_(&log) {}
    void toggle() override { log_->add(QStringLiteral("shelf")); }

private:
    CallLog* log_;
};

class RecordingLayouts final : public SnapLayoutTarget {
public:
    explicit RecordingLayouts(CallLog& log) : log_(&log) {}
    bool handleKey(int64_t key, bool) override {
        log_->add(QStringLiteral("layoutKey %1").arg(key));
        return true;
    }
    void show() override { log_->add(QStringLiteral("layouts")); }

private:
    CallLog* log_;
};

class RecordingQuickLinks final : public QuickLinkTarget {
public:
    explicit RecordingQuickLinks(CallLog& log) : log_(&log) {}
    void show() override { log_->add(QStringLiteral("quickLinks")); }

private:
    CallLog* log_;
};

// A click target over a square of the screen, taking every press there.
class RecordingClickTarget final : public ClickTarget {
public:
    static constexpr Rect kArea{1000, 1000, 20, 20};
    explicit RecordingClickTarget(CallLog& log) : log_(&log) {}
    bool mayTake(Point at, uint64_t) override { return kArea.contains(at); }
    bool takes(Point at, uint64_t) override { return kArea.contains(at); }
    void clicked() override { log_->add(QStringLiteral("clicked")); }

private:
    CallLog* log_;
};

// Shorthands the dispatch scenarios share.
namespace shorthand {
inline constexpr auto pass = TapAnswer::pass;
inline constexpr auto swallow = TapAnswer::swallow;
inline constexpr uint64_t cmd = flag::command, ctl = flag::control, opt = flag::option, sh = flag::shift;
} // namespace shorthand

// One posted key-down and its key-up, as `InputRig::posted()` lists them.
QStringList postedPair(int key, uint64_t flags, int32_t pid);

struct KeyEventOptions {
    bool autorepeat = false;
    int64_t sourcePid = 0;
};

// The whole input path on a simulated session.
class InputRig {
public:
    InputRig();

    TapAnswer down(int64_t key, uint64_t flags = 0, KeyEventOptions o = {});
    TapAnswer up(int64_t key, uint64_t flags = 0, KeyEventOptions o = {});
    // Down then up; the pair's two answers.
    std::pair<TapAnswer, TapAnswer> press(int64_t key, uint64_t flags = 0);
    TapAnswer flagsChanged(uint64_t flags);
    TapAnswer feed(TapEvent e);

    // Posted synthetic keys as "down 8 0x100000 -> 501" lines.
    QStringList posted() const;
    // Runs the queued main-thread work and answers the hint the HUD shows now.
    std::optional<Hint> hintNow() {
        sim.mainQueue.drain();
        return hud.current();
    }

    Prefs prefs() { return Prefs(sim.prefs); }
    void set(PrefKey key, bool value) { prefs().set(key, value); }
    // Every Windows-key row on or off, as the welcome's one choice sets them.
    void setWinKeyRows(bool on) {
        for (std::size_t i = 0; i < kPrefKeyCount; ++i)
            if (isWinKeySwitch(static_cast<PrefKey>(i))) set(static_cast<PrefKey>(i), on);
    }

    SimSession sim;
    CallLog calls;
    InputRoutingState routing;
    Inject inject{sim.keys, sim.workspace, sim.log};
    RecordingHintPanel* panel = nullptr;
    HintHUD hud;
    ShortcutLayout layout{sim.keyboardLayout, sim.mainQueue, sim.log};
    MenuEquivalents menus{sim.accessibility, sim.workspace, sim.mainQueue, inject, &hud, sim.log, &layout};
    FinderKeys finder;
    RecordingSwitcher switcher{calls};
    RecordingAssist assist{calls};
    RecordingMenu menu{calls};
    RecordingWindows windows{calls};
    RecordingShelf shelf{calls};
    RecordingLayouts layouts{calls};
    RecordingQuickLinks quickLinks{calls};
    RecordingClickTarget clickTarget{calls};
    HeldClick heldClick{sim.mainQueue, &sim.clicks};
    FenwoldKeys winKeys;
    SwitcherKeyForwarder forwarder;
    std::unique_ptr<Trace> trace;
    ExclusionGate exclusions{sim.prefs, sim.workspace};
    TapDispatcher dispatcher;

    int32_t textEdit = 0;
};

} // namespace fenwold::testing
