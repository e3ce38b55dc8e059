// The tile grid rendered offscreen: geometry, labels, hover buttons, clicks and snapshots.
#include "ui/switcher/SwitcherView.h"
#include "core/shell/PanelStyles.h"
#include "support/Snapshots.h"
#include "ui/common/PanelHost.h"
#include "ui/common/QtFloatingPanel.h"
#include "ui/switcher/TileGridPanelWidget.h"

#include <QBackingStore>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>

using namespace fenwold;

namespace {

QImage solid(QColor color, QSize size = {160, 100}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    QPainter p(&image);
    p.fillRect(QRect(10, 10, size.width() / 2, 12), Qt::white); // a little detail
    return image;
}

WindowInfo window(uint32_t id, QString title, int32_t pid = 1) {
    WindowInfo w;
    w.id = id;
    w.pid = pid;
    w.title = std::move(title);
    w.appName = QStringLiteral("TextEdit");
    w.icon = solid(QColor(90, 140, 230), {64, 64});
    w.aspect = 1.6;
    return w;
}

void saveSnapshot(QWidget& w, const QString& name) {
    const QImage image = w.grab().toImage();
    ASSERT_FALSE(image.isNull());
    const QString dir = fenwold::testing::snapshotFolder();
    if (!dir.isEmpty()) image.save(QDir(dir).filePath(name + ".png"));
}

void click(QWidget& w, QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, w.mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &move);
    QMouseEvent release(QEvent::MouseButtonRelease, at, w.mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                        Qt::NoModifier);
    QCoreApplication::sendEvent(&w, &release);
}

struct Grid {
    SwitcherModel model;
    Metrics metrics;
    SwitcherView view{model, metrics};
    std::vector<std::pair<int, TileAction>> actions;

    explicit Grid(std::vector<WindowInfo> windows, double maxRowW = 1100) {
        model.setWindows(std::move(windows));
        const FlowLayout layout = fitToScreen(model.windows(), maxRowW, 900, metrics);
        view.setRows(layout.rows);
        view.resize(view.preferredSize());
        view.onAction = [this](int i, TileAction a) { actions.emplace_back(i, a); };
    }
};

} // namespace

TEST(SwitcherViewTest, TilesHaveTheComputedOuterSizeAndTheViewMatchesTheFlowLayout) {
    Grid grid({window(1, "Notes"), window(2, "Plan"), window(3, "Budget")});
    const FlowLayout layout = flowRows(grid.model.windows(), 1100, grid.metrics);
    EXPECT_EQ(grid.view.preferredSize(), QSize(static_cast<int>(std::ceil(layout.size.width)),
                                               static_cast<int>(std::ceil(layout.size.height))));
    const QRectF t = grid.view.tileRect(1);
    EXPECT_DOUBLE_EQ(t.width(), 1.6 * 140 + 20);
    EXPECT_DOUBLE_EQ(t.height(), 140 + 56);
    EXPECT_DOUBLE_EQ(t.left(), 20 + (1.6 * 140 + 20) + 10);
    EXPECT_DOUBLE_EQ(grid.view.previewRect(1).height(), 140);

    grid.view.setHeader(QString("Notes — 3 windows"));
    EXPECT_GT(grid.view.preferredSize().height(), layout.size.height);
    EXPECT_GT(grid.view.tileRect(0).top(), 20);
}

TEST(SwitcherViewTest, ClicksPickAndHoverButtonsActWithTheirTooltips) {
    std::vector<WindowInfo> windows = {window(1, "Notes", 7), window(2, "Plan", 8)};
    windows[1].appName = "Safari";
    Grid grid(windows);
    click(grid.view, grid.view.previewRect(0).bottomLeft() + QPointF(5, -5));
    click(grid.view, grid.view.buttonRect(1, TileAction::quit).center());
    click(grid.view, grid.view.buttonRect(1, TileAction::minimize).center());
    ASSERT_EQ(grid.actions.size(), 3u);
    EXPECT_EQ(grid.actions[0], std::make_pair(0, TileAction::pick));
    EXPECT_EQ(grid.actions[1], std::make_pair(1, TileAction::quit));
    EXPECT_EQ(grid.actions[2], std::make_pair(1, TileAction::minimize));
    EXPECT_EQ(grid.view.tooltip(1, TileAction::quit), "Quit Safari");
    EXPECT_EQ(grid.view.tooltip(0, TileAction::zoom), "Full screen");
    EXPECT_EQ(grid.view.hoveredTile(), 1);
    QEvent leave(QEvent::Leave);
    QCoreApplication::sendEvent(&grid.view, &leave);
    EXPECT_EQ(grid.view.hoveredTile(), -1);
}

TEST(SwitcherViewTest, DrawsOnlyIndicesInsideTheListAndShowsThumbsWhenTheyArrive) {
    Grid grid({window(1, "Notes"), window(2, "")});
    grid.model.removeAt(1); // rows still name index 1 until the next relayout
    const QImage image = grid.view.grab().toImage();
    EXPECT_FALSE(image.isNull());
    const QPoint center = grid.view.previewRect(0).center().toPoint();
    const QRgb before = grid.view.grab().toImage().pixel(center);
    grid.model.setThumb(1, solid(QColor(200, 30, 30)));
    const QRgb after = grid.view.grab().toImage().pixel(center);
    EXPECT_NE(before, after);
    EXPECT_GT(qRed(after), 150);
}

TEST(SwitcherViewTest, Snapshots) {
    {
        Grid one({window(1, "Notes")});
        saveSnapshot(one.view, "switcher-1");
    }
    {
        std::vector<WindowInfo> six;
        for (uint32_t i = 0; i < 6; ++i) {
            WindowInfo w = window(i + 1, QString("Document %1").arg(i + 1));
            if (i % 2 == 0) w.thumb = solid(QColor::fromHsv(static_cast<int>(i) * 50, 160, 200));
            if (i == 3) w.isMinimized = true;
            if (i == 5) {
                w.isHidden = true;
                w.title.clear();
            }
            w.aspect = 1.0 + 0.2 * i;
            six.push_back(w);
        }
        Grid grid(six);
        grid.model.setSelected(1);
        click(grid.view, grid.view.tileRect(2).center() + QPointF(0, 500)); // nowhere
        QMouseEvent move(QEvent::MouseMove, grid.view.tileRect(2).center(), QPointF(), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&grid.view, &move);
        EXPECT_EQ(grid.view.hoveredTile(), 2);
        saveSnapshot(grid.view, "switcher-6");
    }
    {
        std::vector<WindowInfo> forty;
        for (uint32_t i = 0; i < 40; ++i)
            forty.push_back(window(i + 1, QString("Window %1").arg(i + 1)));
        Grid grid(forty, 1400);
        EXPECT_LT(grid.metrics.thumbH, 140);
        EXPECT_LE(grid.view.preferredSize().height(), 0.9 * 900 + 1);
        saveSnapshot(grid.view, "switcher-40");
    }
}

TEST(TileGridPanelWidgetTest, PlacesTheGridAtItsScreenFrameAndForwardsActions) {
    SwitcherModel model;
    Metrics metrics;
    model.setWindows({window(1, "Notes"), window(2, "Plan")});
    DesktopPanelHost host;
    TileGridPanelWidget panel(model, metrics, host, panelstyles::switcher());
    std::vector<std::pair<int, TileAction>> actions;
    panel.onAction = [&](int i, TileAction a) { actions.emplace_back(i, a); };
    const std::vector<std::vector<int>> rows = {{0, 1}};
    const Size size = panel.measure(rows, std::nullopt);
    EXPECT_DOUBLE_EQ(size.width, std::ceil(2 * (1.6 * 140 + 20) + 10 + 40));
    const Rect frame{100, 200, size.width, size.height};
    panel.show(rows, std::nullopt, frame);
    EXPECT_TRUE(panel.isVisible());
    EXPECT_EQ(panel.frame(), frame);
    const QRect geometry = panel.view().geometry();
    EXPECT_EQ(geometry.left(), 100);
    EXPECT_EQ(geometry.size(), QSize(qRound(size.width), qRound(size.height)));
    click(panel.view(), panel.view().previewRect(1).center() + QPointF(0, 40));
    EXPECT_EQ(actions, (std::vector<std::pair<int, TileAction>>{{1, TileAction::pick}}));
    panel.orderOut();
    EXPECT_FALSE(panel.isVisible());
}

namespace {

// Runs the event loop until done() holds or a generous deadline passes.
bool waitFor(const std::function<bool()>& done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 4 * DesktopFloatingPanel::keepsPixelsMilliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

// A panel hidden for a while gives back the pixels its window draws into, and shown again it is
// drawn whole, as it was the first time.
TEST(TileGridPanelWidgetTest, AHiddenPanelGivesBackItsPixelsAndIsDrawnWholeAgain) {
    SwitcherModel model;
    Metrics metrics;
    model.setWindows({window(1, "Notes"), window(2, "Plan"), window(3, "Mail")});
    DesktopPanelHost host;
    TileGridPanelWidget panel(model, metrics, host, panelstyles::switcher());
    const std::vector<std::vector<int>> rows = {{0, 1, 2}};
    const Size size = panel.measure(rows, std::nullopt);
    const Rect frame{100, 200, size.width, size.height};
    QWidget& window = *panel.view().window();
    const auto pixels = [&]() -> QImage {
        QBackingStore* store = window.backingStore();
        auto* image = store ? dynamic_cast<QImage*>(store->paintDevice()) : nullptr;
        return image ? *image : QImage();
    };
    const auto drawn = [&] { return !pixels().isNull() && pixels().size() == window.size(); };

    panel.show(rows, std::nullopt, frame);
    ASSERT_TRUE(waitFor(drawn));
    QCoreApplication::processEvents();
    const QImage first = pixels().copy();
    EXPECT_NE(first.pixel(first.width() / 2, first.height() / 2), 0u);

    // Ordered out and back at once, it keeps them.
    panel.orderOut();
    panel.show(rows, std::nullopt, frame);
    QCoreApplication::processEvents();
    EXPECT_TRUE(drawn());

    panel.orderOut();
    EXPECT_TRUE(waitFor([&] { return pixels().isNull() || pixels().size().isEmpty(); }));
    panel.show(rows, std::nullopt, frame);
    ASSERT_TRUE(waitFor(drawn));
    QCoreApplication::processEvents();
    // Within the rounded corners: outside them this window, which is opaque here, paints nothing.
    const QRect inside = first.rect().adjusted(20, 20, -20, -20);
    EXPECT_EQ(pixels().copy(inside), first.copy(inside));
}
