#pragma once

#include "SimApplication.h"

namespace fenwold {

// What a small utility the simulated Mac can open shows: its bundle, its window's title and the
// lines in it.
struct UtilityInfo {
    const char* bundleID;
    const char* name;
    const char* windowTitle;
    std::vector<const char*> lines;
};

// The utilities the program opens that the standard desktop does not run: Activity Monitor (Win+X,
// Ctrl+Shift+Esc), Disk Utility (Win+X) and System Settings (Win+X, Win+I and its panes).
const std::vector<UtilityInfo>& simulatedUtilities();

// One of those, launched when it is first opened: a window of fixed lines. It reacts only to the
// keys every application has (close, minimise, quit).
class UtilityApp final : public SimApplication {
public:
    UtilityApp(SimSession& session, const UtilityInfo& info);

    // Its window again (a new one when the last was closed), brought forward.
    void reopen();
    QStringList content(uint32_t window) const override;

protected:
    bool handleKey(std::optional<uint32_t>, const AppKey&) override { return false; }

private:
    const UtilityInfo& info_;
};

} // namespace fenwold
