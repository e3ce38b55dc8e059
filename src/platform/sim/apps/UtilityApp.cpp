#include "UtilityApp.h"

namespace fenwold {

const std::vector<UtilityInfo>& simulatedUtilities() {
    static const std::vector<UtilityInfo> utilities{
        {"com.apple.ActivityMonitor",
         "Activity Monitor",
         "Activity Monitor — All Processes",
         {"Process            % CPU   Memory", "Safari               4.1   612 MB",
          "TextEdit             0.3    88 MB", "Fenwold              0.2    41 MB",
          "Terminal             0.1    52 MB"}},
        {"com.apple.DiskUtility",
         "Disk Utility",
         "Disk Utility",
         {"Macintosh HD — APFS volume", "494.38 GB, 211.6 GB used", "First Aid   Partition   Erase"}},
        {"com.apple.systempreferences",
         "System Settings",
         "System Settings",
         {"Wi-Fi   Bluetooth   Network", "General   Appearance   Accessibility",
          "Displays   Keyboard   Privacy & Security"}},
    };
    return utilities;
}

UtilityApp::UtilityApp(SimSession& session, const UtilityInfo& info)
    : SimApplication(session, QString::fromUtf8(info.bundleID), QString::fromUtf8(info.name)), info_(info) {
    reopen();
}

void UtilityApp::reopen() {
    for (const SimWindow& w : session_.windows.windowsOf(pid()))
        if (!w.minimized) {
            session_.windows.raise(w.number);
            return;
        }
    // Each utility opens a little below and right of the last one, so none hides another.
    const double offset = 30.0 * static_cast<double>(&info_ - simulatedUtilities().data());
    session_.windows.raise(
        openWindow(QString::fromUtf8(info_.windowTitle), {360 + offset, 160 + offset, 520, 300}));
}

QStringList UtilityApp::content(uint32_t) const {
    QStringList lines;
    for (const char* line : info_.lines)
        lines << QString::fromUtf8(line);
    return lines;
}

} // namespace fenwold
