#pragma once

#include "SimAccessibility.h"
#include "SimPrefs.h"
#include "SimScreens.h"
#include "SimWorkspace.h"

#include <QUrl>
#include <mutex>
#include <optional>
#include <vector>

namespace fenwold {

// One icon of the simulated Dock as its Accessibility element describes it.
struct SimDockItem {
    QString subrole; // "AXApplicationDockItem", "AXMinimizedWindowDockItem", "AXFolderDockItem", ...
    std::optional<QString> title;
    std::optional<QUrl> url;
    // Applications' items follow the workspace when unset; otherwise this fixed answer, where
    // `std::nullopt` inside means the attribute is absent.
    std::optional<std::optional<bool>> runningOverride;
    AXElement element;
};

// The Dock process of the simulated session: icons laid along the primary screen's bottom, left
// or right edge, each an Accessibility element the Dock's hit-test answers with. Its
// orientation lives in the "com.apple.dock" domain like on a Mac.
class SimDock {
public:
    static constexpr double kIconSize = 64;
    static constexpr double kEdgeInset = 4;

    SimDock(SimAccessibility& ax, SimWorkspace& workspace, SimScreens& screens, SimPrefs& prefs);
    SimDock(const SimDock&) = delete;
    SimDock& operator=(const SimDock&) = delete;

    // Start the Dock process; answers its pid. Items keep their places across restarts.
    int32_t launch();
    // The Dock process ends: its elements answer invalid-element from now on.
    void quit();
    // Quit and launch again (a new pid, new elements).
    int32_t restart();
    std::optional<int32_t> pid() const;

    // Add an icon at the end; answers its index.
    int addApp(const QString& title, const QUrl& url);
    int addMinimizedWindow(const QString& title);
    int addItem(const QString& subrole, const std::optional<QString>& title, const std::optional<QUrl>& url,
                std::optional<std::optional<bool>> running = std::nullopt);
    // "bottom", "left" or "right"; written to the Dock's domain.
    void setOrientation(const QString& orientation);

    // Where an icon is, in screen coordinates (origin bottom-left of the primary screen).
    Rect itemFrame(int index) const;
    Point itemCentre(int index) const { return {itemFrame(index).midX(), itemFrame(index).midY()}; }
    int count() const;
    // How often the Dock was asked what lies under a point.
    int hitTests() const;

private:
    void publishLocked(std::size_t index);
    void publishAll();
    Rect frameLocked(std::size_t index) const;
    std::optional<bool> runningLocked(const SimDockItem& item) const;
    AXValue hitTest(Point axPoint);

    SimAccessibility& ax_;
    SimWorkspace& workspace_;
    SimScreens& screens_;
    SimPrefs& prefs_;
    Subscription workspaceSub_;
    mutable std::recursive_mutex mutex_;
    std::vector<SimDockItem> items_;
    std::optional<int32_t> pid_;
    AXElement appElement_;
    QString orientation_ = QStringLiteral("bottom");
    int32_t nextPid_ = 80;
    int hitTests_ = 0;
};

} // namespace fenwold
