// The Dock peek's panels rendered offscreen: the grid with its window-count header, the small
// empty label, and snapshots of both.
#include "core/peek/PeekController.h"
#include "core/settings/Prefs.h"
#include "core/shell/PanelStyles.h"
#include "core/switcher/WindowTileOperations.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"
#include "support/Snapshots.h"
#include "ui/common/PanelHost.h"
#include "ui/common/QtFloatingPanel.h"
#include "ui/peek/EmptyPeekView.h"
#include "ui/switcher/SwitcherView.h"
#include "ui/switcher/TileGridPanelWidget.h"

#include <QDir>
#include <QFontMetrics>
#include <QPainter>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

void saveSnapshot(QWidget& w, const QString& name) {
    const QImage image = w.grab().toImage();
    ASSERT_FALSE(image.isNull());
    const QString dir = fenwold::testing::snapshotFolder();
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(name + ".png"));
}

QImage page(QColor tint, QSize size = {800, 500}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, size.width(), 40), tint);
    for (int y = 70; y < size.height() - 20; y += 28)
        p.fillRect(QRect(30, y, size.width() - 60 - (y % 5) * 40, 10), QColor(120, 120, 130));
    return image;
}

// Panels placed in a plain container, so their geometry is the screen's, flipped.
class ContainerHost final : public PanelHost {
public:
    QWidget* container() const override { return const_cast<QWidget*>(&screen); }
    QRect toWidget(const Rect& f) const override {
        return QRect(qRound(f.x), qRound(900 - f.maxY()), qRound(f.width), qRound(f.height));
    }
    QWidget screen;

protected:
    std::unique_ptr<FloatingPanel> createPanel(QWidget& content, const PanelStyle& style) const override {
        return std::make_unique<ChildFloatingPanel>(content, style, *this);
    }
};

// A whole peek on a simulated session, drawn by the real widgets.
struct LivePeek {
    LivePeek() {
        Prefs(sim.prefs).registerDefaults();
        host.screen.resize(1440, 900);
        host.screen.show();
        grid.orderOut(); // panels start ordered out, not shown along with their container
        auto notes = sim.app("com.apple.Notes", "Notes");
        notes.window("Groceries", {100, 100, 700, 500}).image(page(QColor(250, 200, 60)));
        notes.window("Trip ideas", {140, 120, 600, 500}).image(page(QColor(90, 160, 240)));
        notes.window("Reading list", {180, 140, 500, 600}).image(page(QColor(120, 200, 120), {500, 600}));
        sim.app("com.apple.iCal", "Calendar");
        sim.dock.addApp("Notes", QUrl::fromLocalFile("/Applications/Notes.app"));
        sim.dock.addApp("Calendar", QUrl::fromLocalFile("/Applications/Calendar.app"));
        sim.dock.launch();
        model.store.start();
        sim.mainQueue.drain();
        PeekController::Parts parts;
        parts.platform = platform;
        parts.windows = &model.windows;
        parts.metrics = &metrics;
        parts.model = &peekModel;
        parts.panel = &grid;
        parts.emptyPanel = &empty;
        parts.operations = &operations;
        peek = std::make_unique<PeekController>(parts);
        peek->start();
    }
    void hover(int icon) {
        sim.mainQueue.advance(0.06);
        sim.screens.movePointer(sim.dock.itemCentre(icon));
        sim.mainQueue.advance(0.4);
        while (sim.background.runAll() > 0)
            sim.mainQueue.drain();
        sim.mainQueue.drain();
    }

    SimSession sim;
    Platform platform = sim.platform();
    WindowModel model{platform};
    Metrics metrics;
    SwitcherModel peekModel;
    ContainerHost host;
    TileGridPanelWidget grid{peekModel, metrics, host, panelstyles::dockPeek()};
    EmptyPeekPanelWidget empty{host, panelstyles::emptyPeek()};
    WindowTileOperations operations{model.windows, sim.workspace};
    std::unique_ptr<PeekController> peek;
};

} // namespace

TEST(PeekViewTest, DockPeekShowsTheWindowsWithTheirCountAboveTheIcon) {
    LivePeek live;
    live.hover(0);
    ASSERT_TRUE(live.grid.isVisible());
    EXPECT_FALSE(live.empty.isVisible());
    EXPECT_EQ(live.peek->header(), QString("Notes — 3 windows"));
    SwitcherView& view = live.grid.view();
    EXPECT_EQ(view.size(), view.preferredSize());
    EXPECT_EQ(view.geometry(), live.host.toWidget(live.grid.frame()));
    // Above the icon, centred on it.
    const Rect icon = live.sim.dock.itemFrame(0);
    EXPECT_NEAR(live.grid.frame().midX(), icon.midX(), 1);
    EXPECT_EQ(live.grid.frame().y, icon.maxY() + 10);
    // The previews arrived and nothing is highlighted.
    ASSERT_EQ(live.peekModel.windows().size(), 3u);
    EXPECT_EQ(live.peekModel.selected(), -1);
    for (const auto& w : live.peekModel.windows())
        EXPECT_FALSE(w.thumb.isNull()) << w.title.toStdString();
    saveSnapshot(view, "dock-peek-header");

    // Clicking a preview brings that window forward and closes the peek.
    const uint32_t picked = live.peekModel.windows()[2].id;
    ASSERT_TRUE(live.grid.onAction);
    live.grid.onAction(2, TileAction::pick);
    live.sim.mainQueue.advance(1.0);
    EXPECT_FALSE(live.grid.isVisible());
    EXPECT_EQ(live.sim.windows.stacking().front(), picked);
}

TEST(PeekViewTest, EmptyPeekIsASmallGlassLabel) {
    LivePeek live;
    live.hover(1);
    ASSERT_TRUE(live.empty.isVisible());
    EXPECT_FALSE(live.grid.isVisible());
    EmptyPeekView& view = live.empty.view();
    EXPECT_EQ(view.text(), "No windows");
    EXPECT_TRUE(view.testAttribute(Qt::WA_TransparentForMouseEvents));
    // Natural size: the text with 12 points each side and 7 above and below.
    QFont font;
    font.setPixelSize(12);
    font.setWeight(QFont::Medium);
    const QFontMetrics metrics(font);
    EXPECT_EQ(view.size(), QSize(metrics.horizontalAdvance("No windows") + 24, metrics.height() + 14));
    const Rect icon = live.sim.dock.itemFrame(1);
    EXPECT_NEAR(live.host.toWidget({icon.x, icon.maxY() + 48, 1, 1}).bottom(), view.geometry().bottom(), 1);

    const QImage image = view.grab().toImage();
    // Transparent outside the rounded corners, glass inside.
    EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0);
    EXPECT_GT(qAlpha(image.pixel(image.width() / 2, 2)), 0);
    saveSnapshot(view, "dock-peek-empty");

    EmptyPeekView notRunning;
    notRunning.setText("Not running");
    EXPECT_EQ(notRunning.size(), EmptyPeekView::sizeFor("Not running"));
    saveSnapshot(notRunning, "dock-peek-not-running");
}
