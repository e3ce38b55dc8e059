#pragma once

#include "ports/Geometry.h"
#include "ports/MainQueue.h"

#include <QString>
#include <QStringList>
#include <memory>
#include <optional>
#include <vector>

namespace fenwold {

class PrefsStore;
class Screens;

// One taught shortcut: the Windows keys as pressed and the Mac equivalent. In `mac`, a token
// starting with "~" is a word; every other token is one keycap.
struct Hint {
    struct Segment {
        enum class Kind { key, words };
        Kind kind = Kind::key;
        QString text;
        static Segment key(const QString& t) { return {Kind::key, t}; }
        static Segment words(const QString& t) { return {Kind::words, t}; }
        friend bool operator==(const Segment&, const Segment&) = default;
    };

    QString win;
    QString mac;
    std::optional<QString> title;

    static std::vector<Segment> segments(const QString& mac);
    // The title, or the Windows keys followed by " — the Mac way".
    QString heading() const;
    friend bool operator==(const Hint&, const Hint&) = default;
};

// The floating panel the HUD shows, as the HUD needs it. It never takes focus or clicks.
class HintPanel {
public:
    HintPanel() = default;
    HintPanel(const HintPanel&) = delete;
    HintPanel& operator=(const HintPanel&) = delete;
    virtual ~HintPanel() = default;

    // Build the content for a hint and answer its natural size.
    virtual Size setContent(const Hint& hint) = 0;
    // Place the panel; screen coordinates (origin bottom-left of the primary screen, y up).
    virtual void setFrame(const Rect& frame) = 0;
    virtual bool isVisible() const = 0;
    virtual void setAlpha(double alpha) = 0;
    // Show without activating the application.
    virtual void orderFront() = 0;
    // Animate the alpha to a value over a duration (0: at once).
    virtual void animateAlpha(double alpha, double seconds) = 0;
    virtual void orderOut() = 0;
    // Where the program's other overlays are shown now (the switcher, snap assist, snap layouts,
    // the shelf...): the heads-up never covers one.
    virtual std::vector<Rect> otherOverlays() const { return {}; }
};

// The heads-up display that teaches the native Mac shortcut after a Windows shortcut is handled.
// `show` may be called from any thread; everything else runs on the main thread.
class HintHUD {
public:
    static constexpr double kDisplaySeconds = 3.0;
    static constexpr double kFadeInSeconds = 0.15;
    static constexpr double kFadeOutSeconds = 0.4;
    static constexpr double kRightInset = 16;
    static constexpr double kTopInset = 8;

    using PanelFactory = std::function<std::unique_ptr<HintPanel>()>;
    HintHUD(PrefsStore& prefs, MainQueue& mainQueue, Screens& screens, PanelFactory makePanel);
    HintHUD(const HintHUD&) = delete;
    HintHUD& operator=(const HintHUD&) = delete;

    // Queues the hint for the main thread when `macHints` is on; nothing otherwise.
    void show(const Hint& hint);
    // Whether `show` shows anything now, for callers that would have to build the hint first.
    bool shows() const;
    void show(const QString& win, const QString& mac) { show(Hint{win, mac, std::nullopt}); }
    // Shows the hint now, regardless of `macHints` (main thread).
    void present(const Hint& hint);

    int64_t generation() const { return generation_; }
    const std::optional<Hint>& current() const { return current_; }
    HintPanel* panel() const { return panel_.get(); }

    // Where a heads-up of this size goes in a visible frame, clear of the other overlays.
    static Rect placement(const Rect& visible, Size size, const std::vector<Rect>& overlays);

    // The demonstration of the panel: "Alt+F4" at once and again every 2 seconds.
    static Hint demoHint() {
        return {QStringLiteral("Alt+F4"), QStringLiteral("⌘ W ~closes, ⌘ Q ~quits"), std::nullopt};
    }
    TimerHandle startDemo();

private:
    PrefsStore* prefs_;
    MainQueue* mainQueue_;
    Screens* screens_;
    PanelFactory makePanel_;
    std::unique_ptr<HintPanel> panel_;
    std::optional<Hint> current_;
    int64_t generation_ = 0;
    // Queued work holds the HUD weakly through this token.
    std::shared_ptr<HintHUD*> self_ = std::make_shared<HintHUD*>(this);
};

} // namespace fenwold
