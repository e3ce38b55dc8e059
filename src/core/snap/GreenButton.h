#pragma once

#include "core/input/DispatchTargets.h"
#include "core/windows/WindowInfo.h"

#include <optional>

namespace fenwold {

class HintHUD;
class PrefsStore;
class Windows;
class Workspace;

// The green window button as the maximise button of Windows: a plain click on it maximises a
// standard window, remembered for restore, and a click on a window it maximised gives back its
// size. Option-click, a held press and a drag from the button stay the Mac's, and so do a window
// in full screen and one whose green button is greyed out (it cannot be resized).
class GreenButton final : public ClickTarget {
public:
    struct Parts {
        Windows* windows = nullptr;
        Workspace* workspace = nullptr;
        PrefsStore* prefs = nullptr;
        HintHUD* hints = nullptr; // optional
    };
    explicit GreenButton(const Parts& parts) : p_(parts) {}

    bool mayTake(Point at, uint64_t flags) override;
    bool takes(Point at, uint64_t flags) override;
    void clicked() override;

private:
    // The switch is on and no modifier makes the click the Mac's.
    bool wanted(uint64_t flags) const;

    Parts p_;
    std::optional<WindowTarget> pending_; // the window a click on its button acts on
};

} // namespace fenwold
