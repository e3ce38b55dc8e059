#pragma once

#include "core/input/InputRoutingState.h"
#include "core/input/SwallowedKeys.h"
#include "ports/EventTapHost.h"
#include "ports/KeyCodes.h"
#include "ports/MainQueue.h"

#include <QString>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

namespace fenwold {

class PrefsStore;
class MainQueue;
class Workspace;
class Processes;
class InputSources;
class Log;
class Inject;
class HintHUD;
class FinderKeys;
class FenwoldKeys;
class SwitcherKeyForwarder;
class Trace;
class SwitcherSessionTarget;
class SnapAssistTarget;
class SnapLayoutTarget;
class WindowMenuTarget;
class WindowDragTarget;
class ClickTarget;
class HeldClick;
class WindowActions;
class ExclusionGate;
class ShortcutLayout;
class KeyActions;
class KeyLayoutTable;
class MenuEquivalents;
struct Hint;

// The event tap's callback: classifies every key, modifier, button and wheel event against the
// preferences and the routing snapshot, and answers pass (possibly with fields changed) or
// swallow. It only decides, posts synthetic keys and queues hints; everything that touches
// windows, panels, the workspace or the pasteboard is queued on the main queue.
class TapDispatcher {
public:
    // Everything the dispatch reaches. The collaborators built by other subsystems may be absent.
    struct Parts {
        PrefsStore* prefs = nullptr;
        MainQueue* mainQueue = nullptr;
        InputRoutingState* routing = nullptr;
        const Inject* inject = nullptr;
        HintHUD* hints = nullptr;
        FinderKeys* finder = nullptr;
        FenwoldKeys* winKeys = nullptr;
        SwitcherKeyForwarder* forwarder = nullptr;
        Workspace* workspace = nullptr;
        Processes* processes = nullptr;
        InputSources* inputSources = nullptr;
        Log* log = nullptr;
        Trace* trace = nullptr;
        EventTapHost* tap = nullptr;
        SwitcherSessionTarget* switcher = nullptr;
        SnapAssistTarget* assist = nullptr;
        SnapLayoutTarget* layouts = nullptr;
        WindowMenuTarget* winMenu = nullptr;
        WindowDragTarget* drag = nullptr;
        // Clicks the program may take instead of the system (the green button, a Dock icon), in
        // the order they are asked, and what holds their presses back meanwhile.
        std::array<ClickTarget*, 2> clickTargets{};
        HeldClick* heldClick = nullptr;
        WindowActions* windows = nullptr;
        ExclusionGate* exclusions = nullptr;
        // The layout keys are read with; without it, the keys' US meaning.
        ShortcutLayout* layout = nullptr;
        // Shortcuts no key of the layout types go through the menus; without it, the key passes.
        MenuEquivalents* menus = nullptr;
    };

    explicit TapDispatcher(const Parts& parts);
    TapDispatcher(const TapDispatcher&) = delete;
    TapDispatcher& operator=(const TapDispatcher&) = delete;
    // Stops the tap first: its thread calls into this object and everything it reaches.
    ~TapDispatcher();

    // Creates the tap; false (and one log line) when it cannot be created.
    bool startTap();
    // Removes the tap and waits for its thread; no event reaches this object afterwards.
    void stopTap();
    // Lets every event past the tap while the Accessibility permission is missing (a modifying
    // tap without it stalls the user's input), and turns it back on when the permission returns.
    // While paused, the system's tap-disabled notices do not turn it back on. Resuming makes a
    // new tap; the pause ends only once it exists. A tap that cannot be made yet (the permission's
    // answer can lag its announcement) is tried again each `kResumeRetrySeconds`, at most
    // `kResumeAttempts` times in all, unless the permission goes away again first.
    void pauseTap();
    void resumeTap();
    bool tapPaused() const;
    // Told on the main thread each time the pause begins or ends.
    void onPauseChanged(std::function<void()> handler) { pauseChanged_ = std::move(handler); }
    static constexpr double kResumeRetrySeconds = 1.0;
    static constexpr int kResumeAttempts = 10;
    // How long Win may be held and still count as pressed alone.
    static constexpr double kWinAloneSeconds = 0.4;
    // The modifiers a flags-changed event is read for.
    static constexpr uint64_t kModifierFlags =
        flag::shift | flag::control | flag::option | flag::command | flag::secondaryFn;
    // The event types the tap listens to; system-defined events only to trace them.
    static uint64_t eventMask(bool tracing);
    // What the tap thread runs for every event: tap-disabled recovery, the decision, and the
    // key-up pairing that keeps key-ups of swallowed key-downs away from applications.
    TapAnswer tapCallback(TapEvent& event);
    // The decision alone.
    TapAnswer handle(TapEvent& event);

    // The modifier letters of a flag word for trace lines ("S", "C", "A", "M", "F"; "-" for none).
    static QString mods(uint64_t flags);
    // The trace line of one event.
    QString dbg(const TapEvent& event) const;
    // Remembered answer: is this pid the remote-desktop daemon "parsecd"?
    bool isParsec(int64_t pid);

    const SwallowedKeys& swallowedKeys() const { return swallowedKeys_; }
    bool f19Held() const { return f19Held_; }

private:
    TapAnswer tapDisabled(const TapEvent& event);
    void reEnableUnlessPaused();
    TapAnswer keyDown(TapEvent& event, const InputRoutingState::Snapshot& snap, bool swap);
    TapAnswer pointer(TapEvent& event, const InputRoutingState::Snapshot& snap);
    void flagsChanged(const TapEvent& event, const InputRoutingState::Snapshot& snap, bool swap);
    // Win pressed and released alone, quickly, with nothing in between: the Start menu's search.
    void winAlone(uint64_t held, uint64_t before, const InputRoutingState::Snapshot& snap, bool swap);
    // Left Alt and Shift pressed together and released with nothing in between: the next input
    // source, as Windows' language switch does.
    void altShift(const TapEvent& event, uint64_t held, uint64_t before,
                  const InputRoutingState::Snapshot& snap);
    // Whether an overlay owns the keyboard, so that a modifier tap does nothing.
    static bool overlayOpen(const InputRoutingState::Snapshot& snap);
    // Makes the new tap of a resume, or tries again later.
    void tryResume();
    // A new tap on the events this dispatcher wants; false when the system refuses one.
    bool makeTap();
    // Holds a press back for the first click target that may take it; false when none may.
    bool holdForClickTarget(const TapEvent& event);
    void sideButton(TapEvent& event);
    // Returns true when the event was swallowed by the F19-as-Globe rule.
    bool f19(TapEvent& event);

    // The front application is one in which every shortcut passes untouched.
    bool frontExcluded() const;
    const KeyLayoutTable& layoutTable() const;

    Parts p_;
    std::unique_ptr<KeyActions> actions_; // what the key-down rows do
    int64_t ownPid_;                      // this program's process
    // Whether the tap is paused, and the tap's enabling and disabling: the main thread pauses,
    // the tap's thread re-enables after a timeout.
    mutable std::mutex tapState_;
    bool tapPaused_ = false;
    bool f19Held_ = false;
    bool f19Used_ = false;
    bool swallowMouseUp_ = false;
    // Since when Win has been held alone; none once anything else happened. The modifiers the
    // last flags-changed event held.
    std::optional<double> winAloneSince_;
    uint64_t modifiersHeld_ = 0;
    // Left Alt+Shift: 0 nothing yet, 1 begun from no modifier with only those two, 2 both held.
    uint8_t altShiftStage_ = 0;
    // Main thread: the retry of a resume whose tap could not be made, and how many tries so far.
    TimerHandle resumeRetry_;
    int resumeAttempts_ = 0;
    std::function<void()> pauseChanged_;
    SwallowedKeys swallowedKeys_;
    std::map<int64_t, bool> parsecPidCache_;
};

} // namespace fenwold
