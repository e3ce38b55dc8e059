#pragma once

#include "TileGrid.h"
#include "TileGridPanel.h"
#include "core/input/DispatchTargets.h"
#include "core/windows/Lifetime.h"
#include "ports/MainQueue.h"
#include "ports/Screens.h"

#include <functional>
#include <memory>
#include <optional>

namespace fenwold {

class InputRoutingState;
class SwitcherKeyForwarder;
class Windows;
class Workspace;
class Screens;
class PrefsStore;
class HintHUD;

// The main-thread half of an Alt+Tab session: the panel, its model and what the dispatch asks of
// them. Every operation first checks its session id against the routing state, so work queued
// for an earlier session does nothing.
class SwitcherSession final : public SwitcherSessionTarget {
public:
    static constexpr double kZoomReloadDelay = 0.15;

    struct Parts {
        InputRoutingState* routing = nullptr;
        SwitcherKeyForwarder* forwarder = nullptr;
        Windows* windows = nullptr;
        TileOperations* operations = nullptr;
        Workspace* workspace = nullptr;
        Screens* screens = nullptr;
        MainQueue* mainQueue = nullptr;
        PrefsStore* prefs = nullptr;
        Metrics* metrics = nullptr;
        HintHUD* hints = nullptr; // optional
    };
    // Builds the panel over the session's model on the first layout.
    using PanelFactory = std::function<std::unique_ptr<TileGridPanel>(SwitcherModel&)>;

    SwitcherSession(const Parts& parts, PanelFactory makePanel);
    ~SwitcherSession() override;

    void open(uint64_t sessionID) override;
    void move(uint64_t sessionID, int delta) override;
    void commit(uint64_t sessionID) override;
    void cancel(uint64_t sessionID) override;
    void handleKey(uint64_t sessionID, int64_t key, uint64_t flags) override;
    void changeThumbnailSize(uint64_t sessionID, double delta) override;
    std::optional<uint32_t> selectedWindowID() override;

    // Ends the session without activating anything.
    void hide(uint64_t sessionID);
    // A tile action; without an id it applies to whichever session is open.
    void perform(TileAction action, int index, std::optional<uint64_t> sessionID);
    // Fits the grid to the session's screen (the one that held the pointer when it opened) and
    // shows the panel.
    void layoutAndShow();
    // A window whose preview came back blank leaves the grid.
    void removeBlank(uint32_t windowID, uint64_t sessionID);

    // Called at the start of every open (closes the other overlays).
    std::function<void()> onOpen;

    const SwitcherModel& model() const { return model_; }
    TileGridPanel* panel() const { return panel_.get(); }

private:
    // Open with this id and not being torn down.
    bool isLive(uint64_t sessionID) const;
    void loadThumbnails(uint64_t sessionID);
    void orderOutAndEmpty();

    Parts p_;
    PanelFactory makePanel_;
    SwitcherModel model_;
    std::unique_ptr<TileGridPanel> panel_;
    std::optional<ScreenInfo> screen_;
    TimerHandle zoomRefresh_;
    Lifetime lifetime_;
};

} // namespace fenwold
