#pragma once

#include "core/input/DispatchTargets.h"
#include "core/windows/WindowInfo.h"

#include <map>
#include <optional>
#include <vector>

namespace fenwold {

class PeekController;
class PrefsStore;
class Screens;
class Windows;
class Workspace;

// The Dock as a taskbar: a click on the icon of the application in front minimises its front
// window (every window of it with Shift), and a click on the icon of an application whose windows
// are all minimised brings back the one minimised last. Any other click on the Dock is the Dock's:
// an application that is not in front, one with no windows, an icon of something else.
class DockClick final : public ClickTarget {
public:
    struct Parts {
        PeekController* peek = nullptr; // finds the icon under the pointer
        Windows* windows = nullptr;
        Workspace* workspace = nullptr;
        Screens* screens = nullptr;
        PrefsStore* prefs = nullptr;
    };
    explicit DockClick(const Parts& parts) : p_(parts) {}

    bool mayTake(Point at, uint64_t flags) override;
    bool takes(Point at, uint64_t flags) override;
    void clicked() override;

private:
    enum class Action { minimizeFront, minimizeAll, restore };
    struct Pending {
        Action action = Action::minimizeFront;
        int32_t pid = 0;
        std::vector<WindowInfo> windows; // the application's: the ones to minimise, or the one to restore
    };

    // The switch is on and no modifier makes the click the Dock's.
    bool wanted(uint64_t flags) const;

    Parts p_;
    std::optional<Pending> pending_;
    // The windows each application had minimised by a click here, the last one last.
    std::map<int32_t, std::vector<uint32_t>> minimized_;
};

} // namespace fenwold
