#include "core/windows/StoreMath.h"

#include <gtest/gtest.h>

using namespace fenwold;

TEST(StoreMath, CaptureWidthFollowsTheAspectWithinItsRangeAtTwicePixels) {
    struct Row {
        double thumbH, aspect;
        int width;
    };
    const Row rows[] = {
        {140, 1.0, 280},       {140, 16.0 / 9.0, 498}, {140, 0.2, 202}, // 140 x 0.72 x 2 = 201.6
        {140, 9.0, 728},       {140, 0.72, 202},       {140, 2.6, 728},
        {100.25, 1.0, 201}, // 200.5 rounds away from zero
        {140, 4.0 / 3.0, 373}, {200, 1.5, 600},
    };
    for (const Row& r : rows)
        EXPECT_EQ(StoreMath::captureWidth(r.thumbH, r.aspect), r.width) << r.thumbH << " x " << r.aspect;
}

TEST(StoreMath, EvictionsDropTheLeastRecentlyShownUntilTheRestFits) {
    using E = StoreMath::Entry;
    EXPECT_TRUE(StoreMath::evictions({}, 100).empty());
    EXPECT_TRUE(StoreMath::evictions({{1, 60, 5}, {2, 40, 1}}, 100).empty()); // exactly at the budget

    // Oldest shown first; ties keep their input order; stops as soon as the rest fits.
    const std::vector<E> entries = {{1, 40, 3.0}, {2, 40, 1.0}, {3, 40, 1.0}, {4, 40, 9.0}};
    EXPECT_EQ(StoreMath::evictions(entries, 100), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(StoreMath::evictions(entries, 80), (std::vector<uint32_t>{2, 3}));
    EXPECT_EQ(StoreMath::evictions(entries, 79), (std::vector<uint32_t>{2, 3, 1}));
    // A single entry larger than the budget goes as well: everything is taken.
    EXPECT_EQ(StoreMath::evictions({{7, 500, 2.0}, {8, 10, 1.0}}, 100), (std::vector<uint32_t>{8, 7}));
}
