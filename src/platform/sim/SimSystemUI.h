#pragma once

#include "SimAccessibility.h"
#include "SimKeySender.h"
#include "SimWindows.h"
#include "SimWorkspace.h"

#include <QStringList>
#include <mutex>

namespace fenwold {

// What the simulated Mac shows of its own: Spotlight, Control Centre and Notification Centre
// (opened from the menu bar's extras, which the Control Centre process holds), the Force Quit
// window and the confirmations the Apple menu's power items ask for. It answers the system's own
// keyboard shortcuts typed into the session (⌘Space, ⌃← and ⌃→), the Apple menu's items pressed
// in any application, and their key equivalents (⌥⌘Esc, ⇧⌘Q) typed to one.
class SimSystemUI {
public:
    enum class Panel { none, spotlight, controlCentre, notificationCentre, forceQuit, confirmation };
    static constexpr const char* kControlCentreID = "com.apple.controlcenter";

    SimSystemUI(SimAccessibility& ax, SimWorkspace& workspace, SimWindows& windows, SimKeySender& keys);
    SimSystemUI(const SimSystemUI&) = delete;
    SimSystemUI& operator=(const SimSystemUI&) = delete;

    // Start the Control Centre process with its menu-bar extras (Control Centre and the clock).
    int32_t startControlCentre();
    int32_t controlCentrePid() const { return controlCentre_; }

    // What shows now; one at a time, as on a Mac. The confirmation asked ("Restart", "Shut Down",
    // "Log Out"), while it shows.
    Panel panel() const;
    QString confirmation() const;
    void dismiss();
    // The user answers the confirmation: what was confirmed joins the journal.
    void confirm();
    // A key typed into the session.
    void sessionKey(const PostedKey& key);
    // An application received one of the Apple menu's key equivalents; true when it was one.
    bool appleMenuKey(uint16_t keyCode, uint64_t flags, char16_t letter);
    // The Apple menu's item with this title was pressed in some application.
    void appleMenuItem(const QString& title);
    // What the system did, in words ("spotlight", "space 2", "asked Restart", "sleep"), oldest first.
    QStringList journal() const;

private:
    void show(Panel panel, const QString& confirmation = {});
    void note(const QString& line);

    SimAccessibility& ax_;
    SimWorkspace& workspace_;
    SimWindows& windows_;
    mutable std::recursive_mutex mutex_;
    Panel panel_ = Panel::none;
    QString confirmation_;
    QStringList journal_;
    int32_t controlCentre_ = 0;
};

} // namespace fenwold
