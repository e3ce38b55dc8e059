#pragma once

#include "MenuPresenter.h"
#include "core/input/DispatchTargets.h"
#include "ports/Platform.h"

#include <optional>
#include <vector>

namespace fenwold {

class FenwoldKeys;

// What the quick link menu's rows open or do.
enum class QuickLink {
    activityMonitor,
    terminal,
    diskUtility,
    systemSettings,
    finder,
    forceQuit,
    lockScreen,
    logOut,
    sleep,
    restart,
    shutDown,
};

struct QuickLinkItem : MenuRow {
    std::optional<QuickLink> link;
};

// The Win+X menu: the Mac's counterparts of the tools and power items Windows lists there, in a
// menu at the pointer, worked like the window menu (arrows, Return, Escape, the underlined
// letters). Logging out, restarting and shutting down go through the Apple menu's own items,
// which ask before they act.
class QuickLinkMenu final : public QuickLinkTarget {
public:
    static constexpr double kScreenMargin = 8;

    QuickLinkMenu(const Platform& platform, FenwoldKeys& keys, MenuPresenter& presenter);

    void show() override;
    void perform(QuickLink link);

    static std::vector<QuickLinkItem> items();
    // Where the menu's top-left corner goes (screen coordinates): at the pointer, kept inside the
    // visible frame of its display.
    static Point placement(Point pointer, const Rect& visible, Size menu);

private:
    Platform platform_;
    FenwoldKeys& keys_;
    MenuPresenter& presenter_;
};

} // namespace fenwold
