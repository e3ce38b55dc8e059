// Snap assist drawn by the real tile-grid panel, offscreen: its geometry in the half screen and
// a picture of it next to the snapped window.
#include "core/shell/PanelStyles.h"
#include "core/snap/SnapAssistController.h"
#include "support/CanvasHost.h"
#include "support/Snapshots.h"
#include "switcher/OverlayRig.h"
#include "ui/switcher/SwitcherView.h"
#include "ui/switcher/TileGridPanelWidget.h"

#include <QDir>
#include <QPainter>

using namespace fenwold;
using fenwold::testing::CanvasHost;
using fenwold::testing::picture;

namespace {

class SnapAssistPicture : public fenwold::testing::OverlayRig {
protected:
    CanvasHost host{sim.screens.screens().front().frame.height};
    TileGridPanelWidget* widget = nullptr;
    SnapAssistController assist{assistParts(), [this](SwitcherModel& m) {
                                    auto p = std::make_unique<TileGridPanelWidget>(m, metrics, host,
                                                                                   panelstyles::snapAssist());
                                    widget = p.get();
                                    return p;
                                }};
};

} // namespace

TEST_F(SnapAssistPicture, TheGridFillsTheFreeHalfBesideTheSnappedWindow) {
    const QColor colours[] = {QColor(52, 120, 246), QColor(235, 87, 87), QColor(39, 174, 96),
                              QColor(242, 153, 74), QColor(155, 81, 224)};
    const char* names[][2] = {{"Mail", "Inbox"},
                              {"Calendar", "Week"},
                              {"Notes", "Shopping"},
                              {"Preview", "Receipt"},
                              {"Music", "Library"}};
    for (int i = 0; i < 5; ++i)
        sim.app(QStringLiteral("com.example.%1").arg(i), names[i][0])
            .window(names[i][1], {100.0 + 30 * i, 80.0 + 20 * i, 900, 640})
            .image(picture(colours[i], 360, 256));
    auto snappedApp = sim.app("com.example.editor", "Editor");
    const uint32_t snapped = snappedApp.window("main.cpp", {0, 25, 720, 805}).image(picture(Qt::darkGray));
    snappedApp.frontmost();
    model.store.start();

    assist.show(WindowSnap::left, snapped);
    settleCaptures();
    assist.move(1);
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible());
    const Rect v = visibleFrame();
    const Rect f = widget->frame();
    EXPECT_GE(f.minX(), v.midX());
    EXPECT_LE(f.maxX(), v.maxX());
    EXPECT_DOUBLE_EQ(f.midX(), v.midX() + v.width / 4);
    const QSize drawn = widget->view().size();
    EXPECT_EQ(drawn, QSize(qRound(f.width), qRound(f.height)));
    EXPECT_EQ(widget->view().preferredSize(),
              QSize(static_cast<int>(std::ceil(f.width)), static_cast<int>(std::ceil(f.height))));
    for (const WindowInfo& w : assist.model().windows())
        EXPECT_FALSE(w.thumb.isNull());

    const QImage grid = widget->view().grab().toImage();
    ASSERT_FALSE(grid.isNull());
    // The screen: the snapped window on the left half, the grid centred on the right half.
    const Rect screen = sim.screens.screens().front().frame;
    QImage canvas(qRound(screen.width), qRound(screen.height), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor(48, 64, 92));
    {
        QPainter p(&canvas);
        p.fillRect(QRect(0, 0, canvas.width(), qRound(screen.height - v.maxY())), QColor(230, 230, 235));
        const QRect left(0, qRound(screen.height - v.maxY()), qRound(v.width / 2), qRound(v.height));
        p.drawImage(left, picture(Qt::darkGray, 360, 400));
        p.drawImage(host.toWidget(f).topLeft(), grid);
    }
    const QString dir = fenwold::testing::snapshotFolder();
    if (!dir.isEmpty()) {
        grid.save(QDir(dir).filePath("snap-assist-grid.png"));
        canvas.save(QDir(dir).filePath("snap-assist-right-half.png"));
    }
    assist.close();
    EXPECT_FALSE(widget->isVisible());
}
