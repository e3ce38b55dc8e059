// The zones a dragged window's pointer can be against, on one display and on displays that meet.
#include "core/snap/DragZones.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {

using S = WindowSnap;

ScreenInfo display(double x, double y, double w, double h) {
    return {{x, y, w, h}, {x, y, w, h - 25}};
}

std::optional<S> snapAt(const std::vector<ScreenInfo>& screens, Point p, int wantedDisplay = 0) {
    const auto zone = dragzones::zoneAt(screens, p);
    if (!zone) return std::nullopt;
    EXPECT_EQ(zone->display, wantedDisplay) << p.x << "," << p.y;
    return zone->snap;
}

} // namespace

TEST(DragZones, EachEdgeAndCornerOfOneDisplay) {
    const std::vector<ScreenInfo> one{display(0, 0, 1440, 900)};
    // Screen coordinates, y up: the corners are the 45 points (5 % of 900) at the ends of a side.
    EXPECT_EQ(snapAt(one, {0, 450}), S::left);
    EXPECT_EQ(snapAt(one, {1439, 450}), S::right);
    EXPECT_EQ(snapAt(one, {700, 899}), S::maximize);
    EXPECT_EQ(snapAt(one, {0, 899}), S::topLeft);
    EXPECT_EQ(snapAt(one, {0, 856}), S::topLeft);
    EXPECT_EQ(snapAt(one, {0, 855}), S::left);
    EXPECT_EQ(snapAt(one, {1439, 880}), S::topRight);
    EXPECT_EQ(snapAt(one, {0, 0}), S::bottomLeft);
    EXPECT_EQ(snapAt(one, {0, 44}), S::bottomLeft);
    EXPECT_EQ(snapAt(one, {0, 45}), S::left);
    EXPECT_EQ(snapAt(one, {1439, 10}), S::bottomRight);
    // Away from the edges, and the bottom edge, which has no zone.
    EXPECT_EQ(snapAt(one, {3, 450}), std::nullopt);
    EXPECT_EQ(snapAt(one, {700, 450}), std::nullopt);
    EXPECT_EQ(snapAt(one, {700, 0}), std::nullopt);
    EXPECT_EQ(snapAt(one, {2000, 450}), std::nullopt);
    EXPECT_EQ(snapAt({}, {0, 450}), std::nullopt);
}

TEST(DragZones, WhereDisplaysOfDifferentSizesMeetThePointerPassesOn) {
    // A 1280 × 800 display right of the 1440 × 900 one, their tops level (y up: it spans 100–900).
    const std::vector<ScreenInfo> two{display(0, 0, 1440, 900), display(1440, 100, 1280, 800)};
    EXPECT_EQ(snapAt(two, {1439, 450}), std::nullopt);
    EXPECT_EQ(snapAt(two, {1440, 450}, 1), std::nullopt);
    // Below the smaller display the primary's right edge is an outer one.
    EXPECT_EQ(snapAt(two, {1439, 70}), S::right);
    EXPECT_EQ(snapAt(two, {1439, 20}), S::bottomRight);
    // The second display's own outer edges; its corners are 5 % of its own height (40 points).
    EXPECT_EQ(snapAt(two, {2719, 500}, 1), S::right);
    EXPECT_EQ(snapAt(two, {2719, 861}, 1), S::topRight);
    EXPECT_EQ(snapAt(two, {2719, 859}, 1), S::right);
    EXPECT_EQ(snapAt(two, {2000, 899}, 1), S::maximize);
    EXPECT_EQ(snapAt(two, {1700, 899}, 1), S::maximize);

    // One above the other: the lower display's top edge is shared where the upper one covers it.
    const std::vector<ScreenInfo> stacked{display(0, 0, 1440, 900), display(200, 900, 1000, 700)};
    EXPECT_EQ(snapAt(stacked, {700, 899}), std::nullopt);
    EXPECT_EQ(snapAt(stacked, {100, 899}), S::maximize);
    EXPECT_EQ(snapAt(stacked, {700, 1599}, 1), S::maximize);
    EXPECT_EQ(snapAt(stacked, {200, 1200}, 1), S::left);
}

TEST(DragZones, SnapAssistOffersWhatIsLeftOfTheDisplay) {
    EXPECT_EQ(dragzones::restAfter(S::left), std::vector<S>{S::right});
    EXPECT_EQ(dragzones::restAfter(S::right), std::vector<S>{S::left});
    EXPECT_EQ(dragzones::restAfter(S::bottomRight), (std::vector<S>{S::topLeft, S::topRight, S::bottomLeft}));
    EXPECT_EQ(dragzones::restAfter(S::topLeft), (std::vector<S>{S::topRight, S::bottomLeft, S::bottomRight}));
    EXPECT_TRUE(dragzones::restAfter(S::maximize).empty());
}
