#include "core/switcher/TileGrid.h"
#include "core/switcher/TileOperations.h"
#include "selfcheck/ModuleChecks.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// A window whose tile is exactly `tileWidth` wide at the default height of 140.
WindowInfo tile(double tileWidth, int32_t pid = 1, uint32_t id = 0) {
    WindowInfo w;
    w.aspect = (tileWidth - 20) / 140.0;
    w.pid = pid;
    w.id = id;
    return w;
}

struct RecordingOps : TileOperations {
    QStringList calls;
    void activate(const WindowInfo& w) override { calls << QString("activate %1").arg(w.id); }
    void close(const WindowInfo& w) override { calls << QString("close %1").arg(w.id); }
    void minimize(const WindowInfo& w) override { calls << QString("minimize %1").arg(w.id); }
    void toggleFullscreen(const WindowInfo& w) override { calls << QString("fullscreen %1").arg(w.id); }
    void terminate(int32_t pid) override { calls << QString("terminate %1").arg(pid); }
};

} // namespace

TEST(FlowRows, TilesWrapWhenTheNextOneWithItsGapWouldPassTheLimit) {
    Metrics m;
    const auto three = flowRows({tile(200), tile(200), tile(200)}, 400, m);
    EXPECT_EQ(three.rows, (std::vector<std::vector<int>>{{0}, {1}, {2}}));
    EXPECT_DOUBLE_EQ(three.size.width, 240);
    EXPECT_DOUBLE_EQ(three.size.height, 3 * (140 + 56) + 20 + 40);

    const auto two = flowRows({tile(195), tile(195)}, 400, m);
    EXPECT_EQ(two.rows, (std::vector<std::vector<int>>{{0, 1}}));
    EXPECT_DOUBLE_EQ(two.size.width, 440);

    // A tile wider than the row still gets a row of its own; rows never start empty.
    const auto wide = flowRows({tile(100), tile(900), tile(100)}, 400, m);
    EXPECT_EQ(wide.rows, (std::vector<std::vector<int>>{{0}, {1}, {2}}));
}

TEST(FlowRows, ThumbnailWidthFollowsTheAspectWithinItsClamp) {
    Metrics m;
    WindowInfo w;
    w.aspect = 10;
    EXPECT_DOUBLE_EQ(m.thumbWidth(w), 2.6 * 140);
    w.aspect = 0.1;
    EXPECT_DOUBLE_EQ(m.thumbWidth(w), 0.72 * 140);
    w.aspect = 1.5;
    EXPECT_DOUBLE_EQ(m.tileWidth(w), 230);
    EXPECT_DOUBLE_EQ(m.tileHeight(), 196);
}

TEST(FitToScreen, ShrinksInFourPointStepsAndStopsAtNinety) {
    Metrics m;
    m.setPreferred(200);
    std::vector<WindowInfo> many(12, tile(200));
    // A screen that fits nothing: the loop must stop at 90 and not go below.
    FlowLayout layout = fitToScreen(many, 300, 100, m);
    EXPECT_DOUBLE_EQ(m.thumbH, 90);
    EXPECT_DOUBLE_EQ(m.preferredThumbH, 200);
    EXPECT_EQ(layout.rows.size(), 6u); // at 90 points two tiles share a 300-point row

    // A roomy screen keeps the preferred height.
    fitToScreen(std::vector<WindowInfo>(2, tile(200)), 1400, 900, m);
    EXPECT_DOUBLE_EQ(m.thumbH, 200);

    // Just too tall: one 4-point step is enough.
    Metrics one;
    const std::vector<WindowInfo> two(2, tile(200));
    const double tall = flowRows(two, 200, one).size.height; // two rows at 140
    fitToScreen(two, 200, tall / 0.9 - 1, one);
    EXPECT_DOUBLE_EQ(one.thumbH, 136);
}

TEST(SwitcherModelTest, ThumbsRemovalsAndSelectionStayConsistent) {
    SwitcherModel model;
    int changes = 0;
    model.observe([&] { ++changes; });
    model.setWindows({tile(200, 1, 10), tile(200, 1, 11), tile(200, 2, 12)});
    model.setSelected(2);
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::red);
    model.setThumb(99, image); // gone: ignored
    EXPECT_EQ(changes, 2);
    model.setThumb(11, image);
    model.setThumb(11, image); // the same image again: nothing new
    EXPECT_EQ(changes, 3);
    EXPECT_FALSE(model.windows()[1].thumb.isNull());

    EXPECT_TRUE(model.removeBlank(12));
    EXPECT_EQ(model.selected(), 1);
    EXPECT_FALSE(model.removeBlank(12));
    model.removeAllOf(1);
    EXPECT_TRUE(model.windows().empty());
    EXPECT_EQ(model.selected(), 0);
    EXPECT_EQ(model.selectedWindow(), nullptr);
}

TEST(HandleTileAction, EachActionChangesTheModelAndTheOverlayAsAUserExpects) {
    SwitcherModel model;
    RecordingOps ops;
    int relayouts = 0, hides = 0;
    auto relayout = [&] { ++relayouts; };
    auto hide = [&] { ++hides; };
    model.setWindows({tile(200, 7, 1), tile(200, 7, 2), tile(200, 8, 3), tile(200, 7, 4)});
    model.setSelected(3);

    handleTileAction(TileAction::minimize, 2, model, ops, relayout, hide);
    EXPECT_TRUE(model.windows()[2].isMinimized);
    EXPECT_EQ(relayouts + hides, 0);

    // Quitting an application with three tiles removes all three in one step.
    handleTileAction(TileAction::quit, 0, model, ops, relayout, hide);
    ASSERT_EQ(model.windows().size(), 1u);
    EXPECT_EQ(model.windows()[0].id, 3u);
    EXPECT_EQ(model.selected(), 0);
    EXPECT_EQ(relayouts, 1);

    handleTileAction(TileAction::zoom, 5, model, ops, relayout, hide); // outside the list: nothing
    // Closing the last tile hides instead of relayouting.
    handleTileAction(TileAction::close, 0, model, ops, relayout, hide);
    EXPECT_EQ(hides, 1);
    EXPECT_EQ(relayouts, 1);
    EXPECT_EQ(ops.calls, (QStringList{"minimize 3", "terminate 7", "close 3"}));

    model.setWindows({tile(200, 9, 5)});
    handleTileAction(TileAction::pick, 0, model, ops, relayout, hide);
    handleTileAction(TileAction::zoom, 0, model, ops, relayout, hide);
    EXPECT_EQ(ops.calls.mid(3), (QStringList{"activate 5", "fullscreen 5"}));
    EXPECT_EQ(hides, 3);
}

TEST(MetricsSelfcheckTest, Passes) {
    QStringList failures;
    EXPECT_TRUE(metricsSelfcheck(failures)) << failures.join('\n').toStdString();
}
