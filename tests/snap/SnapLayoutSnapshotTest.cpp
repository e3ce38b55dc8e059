// The snap layouts drawn by the real panel, offscreen: its size, where its zones are, hovering
// and clicking them, and pictures of the panel over the front window.
#include "core/shell/PanelStyles.h"
#include "core/snap/SnapLayoutController.h"
#include "support/CanvasHost.h"
#include "support/Snapshots.h"
#include "switcher/OverlayRig.h"
#include "ui/snap/SnapLayoutView.h"

#include <QCoreApplication>
#include <QDir>
#include <QMouseEvent>
#include <QPainter>

using namespace fenwold;
using fenwold::testing::CanvasHost;
using fenwold::testing::picture;

namespace {

class SnapLayoutPicture : public fenwold::testing::OverlayRig {
protected:
    void SetUp() override {
        auto app = sim.app("com.example.editor", "Editor");
        editor = app.window("main.cpp", {300, 120, 840, 600}).image(picture(Qt::darkGray, 420, 300));
        app.frontmost();
        model.store.start();
    }
    // A mouse event at a point of the view.
    void mouse(QEvent::Type type, QPointF at) {
        QMouseEvent event(type, at, widget->view().mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(&widget->view(), &event);
    }
    static bool bluish(QColor c) { return c.blue() > c.red() + 60 && c.blue() > c.green() + 30; }
    static bool greyish(QColor c) {
        return std::abs(c.red() - c.blue()) < 24 && std::abs(c.green() - c.blue()) < 24;
    }

    uint32_t editor = 0;
    CanvasHost host{sim.screens.screens().front().frame.height};
    SnapLayoutPanelWidget* widget = nullptr;
    SnapLayoutController layouts{SnapLayoutController::Parts{&routing, &model.windows, &sim.screens,
                                                             &sim.mainQueue, &sim.prefs, nullptr},
                                 [this] {
                                     auto p = std::make_unique<SnapLayoutPanelWidget>(
                                         host, panelstyles::snapLayouts());
                                     widget = p.get();
                                     return p;
                                 }};
};

} // namespace

TEST_F(SnapLayoutPicture, TheLayoutsAreDrawnAsTheirZonesInTheDisplaysProportions) {
    layouts.show();
    layouts.digit(2); // the thirds, their zones numbered
    layouts.move(1);  // the centre third
    ASSERT_NE(widget, nullptr);
    ASSERT_TRUE(widget->isVisible());
    SnapLayoutView& view = widget->view();
    const Rect f = widget->panel().frame();
    EXPECT_EQ(view.size(), QSize(qRound(f.width), qRound(f.height)));
    // Two rows of two pictures, each as wide as 112 points and in the display's proportions.
    const SnapLayoutGeometry g(view.state());
    EXPECT_EQ(g.size(), QSizeF(14 + 112 + 14 + 112 + 14, 14 + 2 * (63 + 18) + 14 + 14)); // 1440 x 805
    EXPECT_EQ(g.thumbRect(3), QRectF(140, 14 + 63 + 18 + 14, 112, 63));

    // The zones tile each picture with gaps between them, and a point finds its zone.
    for (int l = 0; l < 4; ++l) {
        const QRectF thumb = g.thumbRect(l);
        const int zones = static_cast<int>(snapLayouts()[static_cast<std::size_t>(l)].zones.size());
        for (int z = 0; z < zones; ++z) {
            const QRectF r = g.zoneRect(l, z);
            EXPECT_TRUE(thumb.contains(r)) << l << "," << z;
            EXPECT_EQ(g.zoneAt(r.center()), (SnapLayoutGeometry::Zone{l, z}));
            for (int other = 0; other < z; ++other)
                EXPECT_FALSE(r.intersects(g.zoneRect(l, other)));
        }
    }
    EXPECT_EQ(g.zoneAt(QPointF(2, 2)), std::nullopt);
    EXPECT_EQ(g.zoneAt(g.captionRect(0).center()), std::nullopt);

    // The selected zone is drawn in the accent colour, the others grey.
    const QImage image = view.render(1);
    EXPECT_TRUE(bluish(image.pixelColor(g.zoneRect(1, 1).center().toPoint() + QPoint(0, 14))));
    EXPECT_TRUE(greyish(image.pixelColor(g.zoneRect(1, 0).center().toPoint() + QPoint(0, 14))));
    EXPECT_TRUE(greyish(image.pixelColor(g.zoneRect(3, 0).center().toPoint())));

    const QString dir = fenwold::testing::snapshotFolder();
    const QImage shot = view.render(2);
    if (!dir.isEmpty()) shot.save(QDir(dir).filePath("snap-layouts-panel.png"));

    // The screen: the panel over the front window, under its title bar.
    const Rect screen = sim.screens.screens().front().frame;
    QImage canvas(qRound(screen.width), qRound(screen.height), QImage::Format_ARGB32_Premultiplied);
    canvas.fill(QColor(48, 64, 92));
    {
        QPainter p(&canvas);
        p.fillRect(QRect(0, 0, canvas.width(), 25), QColor(230, 230, 235));
        p.drawImage(QRect(300, 120, 840, 600), picture(Qt::darkGray, 420, 300));
        p.drawImage(host.toWidget(f).topLeft(), view.render(1));
    }
    EXPECT_EQ(host.toWidget(f).top(), 120 + 36);
    EXPECT_DOUBLE_EQ(f.midX(), 300 + 420);
    if (!dir.isEmpty()) canvas.save(QDir(dir).filePath("snap-layouts-over-window.png"));
}

TEST_F(SnapLayoutPicture, HoveringMarksAZoneAndAClickSnapsThere) {
    layouts.show();
    SnapLayoutView& view = widget->view();
    const SnapLayoutGeometry g(view.state());
    const QPointF quarter = g.zoneRect(3, 3).center();
    mouse(QEvent::MouseMove, quarter);
    EXPECT_EQ(view.hoveredZone(), (SnapLayoutGeometry::Zone{3, 3}));
    const QImage hovered = view.render(1);
    EXPECT_TRUE(bluish(hovered.pixelColor(quarter.toPoint())));
    mouse(QEvent::MouseMove, QPointF(3, 3));
    EXPECT_EQ(view.hoveredZone(), std::nullopt);

    mouse(QEvent::MouseButtonPress, quarter);
    mouse(QEvent::MouseButtonRelease, quarter);
    EXPECT_FALSE(layouts.isOpen());
    EXPECT_FALSE(widget->isVisible());
    sim.mainQueue.advance(0.5);
    const Rect v = sim.screens.screens().front().visibleFrame;
    EXPECT_EQ(sim.windows.window(editor)->frame,
              (Rect{v.midX(), 25 + v.height / 2, v.width / 2, v.height / 2}));
}
