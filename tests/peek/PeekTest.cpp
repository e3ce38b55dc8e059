// The Dock peek on a simulated session with a Dock: hover timings, the grace area around the
// panel, empty panels, placement by Dock orientation, suppression and live refresh.
#include "core/peek/PeekController.h"
#include "core/settings/Prefs.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"
#include "selfcheck/SelfChecks.h"
#include "switcher/OverlayRig.h"

#include <gtest/gtest.h>

using namespace fenwold;
using fenwold::testing::RecordingGridPanel;

inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

namespace {

class RecordingEmptyPanel final : public EmptyPeekPanel {
public:
    Size measure(const QString&) const override { return size; }
    void show(const QString& t, const Rect& f) override {
        text = t;
        frame = f;
        visible = true;
    }
    void orderOut() override { visible = false; }
    bool isVisible() const override { return visible; }

    Size size{90, 30};
    QString text;
    Rect frame;
    bool visible = false;
};

// Acts on nothing: the windows stay as they were, as with an application slow to react.
class RecordingOperations final : public TileOperations {
public:
    void activate(const WindowInfo& w) override { calls << QStringLiteral("activate %1").arg(w.id); }
    void close(const WindowInfo& w) override { calls << QStringLiteral("close %1").arg(w.id); }
    void minimize(const WindowInfo& w) override { calls << QStringLiteral("minimize %1").arg(w.id); }
    void toggleFullscreen(const WindowInfo& w) override { calls << QStringLiteral("zoom %1").arg(w.id); }
    void terminate(int32_t pid) override { calls << QStringLiteral("quit %1").arg(pid); }
    QStringList calls;
};

class PeekTest : public ::testing::Test {
protected:
    PeekTest() {
        Prefs(sim.prefs).registerDefaults();
        textEdit = sim.app("com.apple.TextEdit", "TextEdit");
        notesWindow1 = sim.windows.open(textEdit, "Notes", {100, 100, 600, 400});
        notesWindow2 = sim.windows.open(textEdit, "Plan", {150, 150, 600, 400});
        mail = sim.app("com.apple.mail", "Mail");
        mailWindow = sim.windows.open(mail, "Inbox", {200, 120, 800, 500});
        calendar = sim.app("com.apple.iCal", "Calendar"); // running, no windows
        sim.dock.addApp("TextEdit", QUrl::fromLocalFile("/Applications/TextEdit.app"));
        sim.dock.addApp("Mail", QUrl::fromLocalFile("/Applications/Mail.app"));
        sim.dock.addApp("Calendar", QUrl::fromLocalFile("/Applications/Calendar.app"));
        sim.dock.addApp("Maps", QUrl::fromLocalFile("/Applications/Maps.app")); // not running
        sim.dock.launch();
        model.store.start();
        sim.mainQueue.drain();
        parts.platform = platform;
        parts.windows = &model.windows;
        parts.metrics = &metrics;
        parts.model = &peekModel;
        parts.panel = &panel;
        parts.emptyPanel = &empty;
        parts.operations = &operations;
        peek = std::make_unique<PeekController>(parts);
        peek->setSuppressed([this] { return suppressed; });
        peek->start();
    }

    // Move the pointer onto a Dock icon (or anywhere) after a pause longer than the throttle.
    void hover(Point p) {
        sim.mainQueue.advance(0.06);
        sim.screens.movePointer(p);
    }
    void hoverIcon(int index) { hover(sim.dock.itemCentre(index)); }
    bool peekShown() const { return panel.visible; }

    SimSession sim;
    Platform platform = sim.platform();
    WindowModel model{platform};
    Metrics metrics;
    SwitcherModel peekModel;
    RecordingGridPanel panel;
    RecordingEmptyPanel empty;
    RecordingOperations operations;
    PeekController::Parts parts;
    std::unique_ptr<PeekController> peek;
    bool suppressed = false;
    int32_t textEdit = 0, mail = 0, calendar = 0;
    uint32_t notesWindow1 = 0, notesWindow2 = 0, mailWindow = 0;
};

} // namespace

TEST_F(PeekTest, RestingOnAnIconShowsItsWindowsAfterTheFirstHoverDelay) {
    hoverIcon(0);
    sim.mainQueue.advance(0.3);
    EXPECT_FALSE(peekShown());
    sim.mainQueue.advance(0.06);
    ASSERT_TRUE(peekShown());
    EXPECT_EQ(peek->currentKey(), QStringLiteral("p%1").arg(textEdit));
    ASSERT_EQ(peekModel.windows().size(), 2u);
    EXPECT_EQ(peekModel.selected(), -1);
    EXPECT_EQ(panel.header, QString("TextEdit — 2 windows"));

    // Next to the icon: centred above it, 10 points up.
    const Rect icon = sim.dock.itemFrame(0);
    EXPECT_EQ(panel.shownFrame.midX(), icon.midX());
    EXPECT_EQ(panel.shownFrame.y, icon.maxY() + 10);

    // From icon to icon while the peek is open the switch takes 0.25 s, and the count is singular.
    hoverIcon(1);
    sim.mainQueue.advance(0.2);
    EXPECT_EQ(peek->currentKey(), QStringLiteral("p%1").arg(textEdit));
    sim.mainQueue.advance(0.06);
    EXPECT_EQ(peek->currentKey(), QStringLiteral("p%1").arg(mail));
    EXPECT_EQ(panel.header, QString("Mail — 1 window"));

    Prefs(sim.prefs).set(PrefKey::peekBadges, false);
    hoverIcon(0);
    sim.mainQueue.advance(0.3);
    EXPECT_FALSE(panel.header.has_value());
}

TEST_F(PeekTest, ABriefHoverShowsNothing) {
    hoverIcon(0);
    sim.mainQueue.advance(0.3);
    hover({720, 450});  // away from every edge
    hover({1400, 500}); // near the right edge, no icon there
    sim.mainQueue.advance(2.0);
    EXPECT_FALSE(peekShown());
    EXPECT_FALSE(empty.visible);
    EXPECT_TRUE(peek->currentKey().isEmpty());
}

TEST_F(PeekTest, ThePanelStaysWhileThePointerIsOnOrNearItAndHidesLaterElsewhere) {
    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(peekShown());
    const Rect f = panel.shownFrame;
    hover({f.midX(), f.maxY() + 20}); // within 24 points of the panel
    sim.mainQueue.advance(1.0);
    EXPECT_TRUE(peekShown());
    hover({f.midX(), f.midY()});
    sim.mainQueue.advance(1.0);
    EXPECT_TRUE(peekShown());

    hover({f.maxX() + 200, f.maxY() + 200});
    sim.mainQueue.advance(0.25);
    EXPECT_TRUE(peekShown());
    sim.mainQueue.advance(0.06);
    EXPECT_FALSE(peekShown());
    EXPECT_TRUE(peekModel.windows().empty());

    // Coming back to the icon before the hide timer fires keeps the peek.
    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    hover({700, 500});
    sim.mainQueue.advance(0.1);
    hoverIcon(0);
    sim.mainQueue.advance(1.0);
    EXPECT_TRUE(peekShown());
}

TEST_F(PeekTest, DockHitTestsOnlyNearAnEdgeAndAtMostEveryFiftyMilliseconds) {
    const int before = sim.dock.hitTests();
    hover({720, 450});
    hover({500, 600});
    EXPECT_EQ(sim.dock.hitTests(), before);
    hover({720, 100});
    sim.screens.movePointer({721, 100});
    sim.mainQueue.advance(0.05);
    sim.screens.movePointer({722, 100});
    EXPECT_EQ(sim.dock.hitTests(), before + 1);
    sim.mainQueue.advance(0.01);
    sim.screens.movePointer({723, 100});
    EXPECT_EQ(sim.dock.hitTests(), before + 2);
}

TEST_F(PeekTest, EmptyPanelsSayWhyAndCanBeTurnedOff) {
    hoverIcon(2); // Calendar runs without windows
    sim.mainQueue.advance(0.4);
    EXPECT_FALSE(peekShown());
    ASSERT_TRUE(empty.visible);
    EXPECT_EQ(empty.text, "No windows");
    const Rect icon = sim.dock.itemFrame(2);
    EXPECT_EQ(empty.frame.y, icon.maxY() + 48);

    hoverIcon(3); // Maps is not running
    sim.mainQueue.advance(0.3);
    EXPECT_EQ(empty.text, "Not running");
    EXPECT_EQ(peek->currentKey(), QStringLiteral("r%1.0").arg(sim.dock.itemFrame(3).minX()));

    // The empty panel turns into a peek once the application's first window exists.
    hoverIcon(2);
    sim.mainQueue.advance(0.3);
    EXPECT_EQ(peek->currentKey(), QStringLiteral("p%1").arg(calendar)) << peek->hoverKey().toStdString();
    EXPECT_EQ(empty.text, "No windows");
    sim.windows.open(calendar, "Week", {100, 100, 700, 500});
    sim.mainQueue.advance(0.31);
    EXPECT_TRUE(peekShown());
    EXPECT_FALSE(empty.visible);

    peek->hideNow();
    Prefs(sim.prefs).set(PrefKey::peekEmpty, false);
    hoverIcon(3);
    sim.mainQueue.advance(1.0);
    EXPECT_FALSE(empty.visible);
    EXPECT_FALSE(peekShown());
    hoverIcon(1);
    sim.mainQueue.advance(0.4);
    EXPECT_TRUE(peekShown()); // applications with windows still peek
}

TEST_F(PeekTest, QuittingOrClosingTheLastWindowHidesThePeek) {
    hoverIcon(1);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(peekShown());
    sim.workspace.terminate(mail);
    EXPECT_FALSE(peekShown()); // at once, not on the next refresh
    EXPECT_TRUE(peek->currentKey().isEmpty());

    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(peekShown());
    sim.windows.close(notesWindow1);
    sim.mainQueue.advance(0.31);
    EXPECT_EQ(peekModel.windows().size(), 1u);
    EXPECT_EQ(panel.header, QString("TextEdit — 1 window"));
    sim.windows.close(notesWindow2);
    sim.mainQueue.advance(0.31);
    EXPECT_FALSE(peekShown());
    EXPECT_FALSE(empty.visible);
}

TEST_F(PeekTest, LeftAndRightDocksOpenBesideTheIconInsideTheVisibleFrame) {
    sim.screens.setScreens({{Rect{0, 0, 1440, 900}, Rect{68, 0, 1372, 875}}});
    sim.dock.setOrientation("left");
    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(peekShown());
    const Rect icon = sim.dock.itemFrame(0);
    EXPECT_EQ(panel.shownFrame.x, icon.maxX() + 10);
    EXPECT_EQ(panel.shownFrame.midY(), icon.midY());

    // A tall empty panel is held 8 points inside the visible frame's top.
    empty.size = {120, 860};
    hoverIcon(3);
    sim.mainQueue.advance(0.3);
    ASSERT_TRUE(empty.visible);
    EXPECT_EQ(empty.frame.x, icon.maxX() + 48);
    EXPECT_EQ(empty.frame.y, 875 - 860 - 8);

    peek->hideNow();
    sim.screens.setScreens({{Rect{0, 0, 1440, 900}, Rect{0, 0, 1364, 875}}});
    sim.dock.setOrientation("right");
    empty.size = {90, 30};
    hoverIcon(3);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(empty.visible);
    // Beside the icon would overlap the right edge's margin: pulled in to end 8 points inside.
    EXPECT_EQ(empty.frame.x, std::min(sim.dock.itemFrame(3).minX() - 48 - 90, 1364.0 - 90 - 8));
    EXPECT_EQ(empty.frame.midY(), sim.dock.itemFrame(3).midY());
}

TEST_F(PeekTest, NothingShowsOrStaysWhileSuppressed) {
    suppressed = true;
    hoverIcon(0);
    sim.mainQueue.advance(1.0);
    EXPECT_FALSE(peekShown());

    suppressed = false;
    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(peekShown());
    suppressed = true; // the switcher opened
    hover(sim.dock.itemCentre(0));
    EXPECT_FALSE(peekShown());
    sim.mainQueue.advance(1.0);
    EXPECT_FALSE(peekShown());

    suppressed = false;
    Prefs(sim.prefs).set(PrefKey::dockPeek, false);
    hoverIcon(1);
    sim.mainQueue.advance(1.0);
    EXPECT_FALSE(peekShown());
}

TEST_F(PeekTest, ATileActionIsNotUndoneByARefreshWithinASecond) {
    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    ASSERT_EQ(peekModel.windows().size(), 2u);
    ASSERT_TRUE(panel.onAction);
    const uint32_t first = peekModel.windows()[0].id;
    panel.onAction(0, TileAction::close); // the application takes its time to close it
    EXPECT_EQ(operations.calls, QStringList{QStringLiteral("close %1").arg(first)});
    ASSERT_EQ(peekModel.windows().size(), 1u);
    sim.mainQueue.advance(0.95);
    EXPECT_EQ(peekModel.windows().size(), 1u);
    sim.mainQueue.advance(0.4);
    EXPECT_EQ(peekModel.windows().size(), 2u); // it is still open, so the refresh shows it again

    panel.onAction(1, TileAction::pick);
    EXPECT_FALSE(peekShown());
}

TEST_F(PeekTest, DockItemsResolveToProcessesOrIdleTargets) {
    const auto app = peek->dockItemAt(sim.dock.itemCentre(1));
    ASSERT_TRUE(app.has_value());
    EXPECT_EQ(*app, DockTarget::app(mail, sim.dock.itemFrame(1)));
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(3))->kind, DockTarget::Kind::idle);
    EXPECT_FALSE(peek->dockItemAt({720, 450}).has_value());

    // A minimised window's icon belongs to the process owning a window of that title.
    sim.windows.update(mailWindow, [](SimWindow& w) { w.minimized = true; });
    const int minimized = sim.dock.addMinimizedWindow("Inbox");
    const int stray = sim.dock.addMinimizedWindow("Gone");
    const int folder = sim.dock.addItem("AXFolderDockItem", QString("Downloads"), std::nullopt);
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(minimized))->pid, mail);
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(stray))->kind, DockTarget::Kind::idle);
    EXPECT_FALSE(peek->dockItemAt(sim.dock.itemCentre(folder)).has_value());

    // Matched by the path of the URL, or by name; applications without a Dock icon of their own
    // never match.
    const int byPath =
        sim.dock.addItem("AXApplicationDockItem", QString("Post"),
                         QUrl("file://localhost/Applications/Mail.app"), std::optional<bool>(true));
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(byPath))->pid, mail);
    const int byName = sim.dock.addItem("AXApplicationDockItem", QString("Calendar"),
                                        QUrl("file:///Other/Cal.app"), std::optional<bool>(true));
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(byName))->pid, calendar);
    sim.app("org.example.agent", "Agent").accessory();
    const int agent =
        sim.dock.addItem("AXApplicationDockItem", QString("Agent"), std::nullopt, std::optional<bool>(true));
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(agent))->kind, DockTarget::Kind::idle);

    // A Dock that says the application is not running wins over a process of the same name.
    sim.dock.addItem("AXApplicationDockItem", QString("Mail"), std::nullopt, std::optional<bool>(false));
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(sim.dock.count() - 1))->kind, DockTarget::Kind::idle);

    // A restarted Dock: the cached element is dropped once, then the new Dock answers.
    ASSERT_TRUE(peek->hasCachedDock());
    sim.dock.restart();
    EXPECT_FALSE(peek->dockItemAt(sim.dock.itemCentre(1)).has_value());
    EXPECT_FALSE(peek->hasCachedDock());
    EXPECT_EQ(peek->dockItemAt(sim.dock.itemCentre(1))->pid, mail);

    // Without a Dock nothing is ever hit.
    sim.dock.quit();
    EXPECT_FALSE(peek->dockItemAt(sim.dock.itemCentre(1)).has_value());
    EXPECT_FALSE(peek->dockItemAt(sim.dock.itemCentre(1)).has_value());
}

TEST(DockTargetTest, ModuleCheckPassesAndRunsJustBeforeTheMetrics) {
    SimPrefs scratch;
    QString printed;
    QTextStream out(&printed);
    EXPECT_EQ(runModuleChecks(moduleChecks({&scratch}), out), 0) << printed.toStdString();
    EXPECT_TRUE(printed.contains("DockTarget selfcheck OK\nMetrics selfcheck OK\n")) << printed.toStdString();
}

TEST_F(PeekTest, AnApplicationWithOnlyMinimizedWindowsShowsThemAll) {
    for (uint32_t w : {notesWindow1, notesWindow2})
        sim.accessibility.setAttribute(sim.windows.window(w)->element, "AXMinimized", AXValue::of(true));
    sim.mainQueue.drain();
    hoverIcon(0);
    sim.mainQueue.advance(0.4);
    ASSERT_TRUE(peekShown());
    ASSERT_EQ(peekModel.windows().size(), 2u);
    for (const auto& w : peekModel.windows())
        EXPECT_TRUE(w.isMinimized) << w.title.toStdString();
}
