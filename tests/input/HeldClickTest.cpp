// A press held back for a click target: swallowed with its release when the target takes it, given
// back to the system (press first, then what ended the wait) when it does not, when the pointer
// drags away or when the button stays down.
#include "core/input/HeldClick.h"
#include "core/input/DispatchTargets.h"
#include "platform/sim/SimClickSender.h"
#include "platform/sim/VirtualMainQueue.h"
#include "ports/KeyCodes.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// Takes presses inside its area; counts what it was asked and told.
struct AreaTarget final : ClickTarget {
    Rect area{100, 100, 20, 20};
    int asked = 0;
    int clicks = 0;
    bool mayTake(Point at, uint64_t) override { return area.contains(at); }
    bool takes(Point at, uint64_t) override {
        ++asked;
        return area.contains(at);
    }
    void clicked() override { ++clicks; }
};

TapEvent mouse(uint32_t type, Point at, int64_t clickState = 1, uint64_t flags = 0) {
    TapEvent e;
    e.type = type;
    e.location = at;
    e.clickState = clickState;
    e.flags = flags;
    return e;
}

struct HeldClickTest : ::testing::Test {
    VirtualMainQueue queue;
    SimClickSender sender;
    HeldClick held{queue, &sender};
    AreaTarget target;

    TapEvent down(Point at, int64_t clickState = 1, uint64_t flags = 0) {
        TapEvent e = mouse(eventtype::leftMouseDown, at, clickState, flags);
        held.hold(e, target);
        return e;
    }
    bool drag(Point at) { return held.dragged(mouse(eventtype::leftMouseDragged, at)); }
    bool up(Point at, int64_t clickState = 1) {
        return held.released(mouse(eventtype::leftMouseUp, at, clickState));
    }
};

} // namespace

TEST_F(HeldClickTest, AClickTheTargetTakesIsSwallowedWholeWhicheverComesFirstTheAnswerOrTheRelease) {
    // The release before the main thread's answer waits with the press.
    down({110, 110});
    EXPECT_TRUE(held.holding());
    EXPECT_TRUE(up({110, 110}));
    EXPECT_EQ(target.clicks, 0);
    queue.drain();
    EXPECT_EQ(target.asked, 1);
    EXPECT_EQ(target.clicks, 1);
    EXPECT_FALSE(held.holding());

    // The answer first: the release is swallowed when it comes and the click follows.
    down({105, 118}, 2);
    queue.drain();
    EXPECT_EQ(target.clicks, 1);
    EXPECT_TRUE(drag({107, 116})); // within the slop: still a click, and no movement for the system
    EXPECT_TRUE(up({107, 116}, 2));
    queue.drain();
    EXPECT_EQ(target.clicks, 2);
    // Nothing went back to the system, and the next release is not the program's.
    EXPECT_TRUE(sender.posted().empty());
    EXPECT_FALSE(up({107, 116}));
    queue.advance(1);
    EXPECT_TRUE(sender.posted().empty());
}

TEST_F(HeldClickTest, APressTheTargetDeclinesGoesBackWithItsReleaseInOrderAsItCame) {
    target.area = {0, 0, 0, 0};
    held.hold(mouse(eventtype::leftMouseDown, {110, 110}, 2, flag::shift), target);
    EXPECT_TRUE(up({111, 110}, 2));
    queue.drain();
    EXPECT_EQ(target.clicks, 0);
    const std::vector<PostedClick> expected = {{eventtype::leftMouseDown, {110, 110}, flag::shift, 2},
                                               {eventtype::leftMouseUp, {111, 110}, 0, 2}};
    EXPECT_EQ(sender.posted(), expected);
    EXPECT_FALSE(held.holding());

    // Declined before the release: the press goes back at once, and the release passes as it is.
    sender.clear();
    down({50, 50});
    queue.drain();
    ASSERT_EQ(sender.posted().size(), 1u);
    EXPECT_EQ(sender.posted()[0].type, eventtype::leftMouseDown);
    EXPECT_FALSE(up({50, 50}));
    EXPECT_EQ(sender.posted().size(), 1u);
}

TEST_F(HeldClickTest, ADragFromTheTargetIsTheSystemsWhateverTheTargetSays) {
    // Beyond the slop before the answer: the press and that move go back, the answer is ignored.
    down({110, 110});
    EXPECT_TRUE(drag({112, 111}));
    EXPECT_TRUE(drag({118, 110}));
    const std::vector<PostedClick> expected = {{eventtype::leftMouseDown, {110, 110}, 0, 1},
                                               {eventtype::leftMouseDragged, {118, 110}, 0, 1}};
    EXPECT_EQ(sender.posted(), expected);
    EXPECT_FALSE(drag({140, 110})); // later moves pass untouched
    queue.drain();
    EXPECT_FALSE(up({140, 110}));
    EXPECT_EQ(target.clicks, 0);

    // Beyond the slop after the target took it: given back as well.
    sender.clear();
    down({110, 110});
    queue.drain();
    EXPECT_TRUE(drag({110, 116}));
    EXPECT_EQ(sender.posted().size(), 2u);
    EXPECT_FALSE(up({110, 130}));
    queue.advance(1);
    EXPECT_EQ(target.clicks, 0);
    EXPECT_EQ(sender.posted().size(), 2u);
}

TEST_F(HeldClickTest, AHeldPressGoesBackAloneAndItsLaterReleasePasses) {
    down({110, 110});
    queue.drain();
    queue.advance(HeldClick::kHeldPress - 0.05);
    EXPECT_TRUE(sender.posted().empty());
    queue.advance(0.1);
    const std::vector<PostedClick> expected = {{eventtype::leftMouseDown, {110, 110}, 0, 1}};
    EXPECT_EQ(sender.posted(), expected);
    EXPECT_FALSE(held.holding());
    EXPECT_FALSE(up({110, 110}));
    queue.drain();
    EXPECT_EQ(target.clicks, 0);

    // A quick click after it is not cut short by the earlier press's timer.
    sender.clear();
    down({110, 110});
    queue.drain();
    queue.advance(HeldClick::kHeldPress / 2);
    EXPECT_TRUE(up({110, 110}));
    queue.advance(1);
    EXPECT_EQ(target.clicks, 1);
    EXPECT_TRUE(sender.posted().empty());
}

TEST_F(HeldClickTest, APressWhoseReleaseMayHaveGoneByIsForgottenNotPosted) {
    // The tap was off: the release may already have reached the system, so the press must not
    // go back (the button would stay down for it).
    down({110, 110});
    held.forget();
    EXPECT_FALSE(held.holding());
    EXPECT_FALSE(up({110, 110}));
    queue.advance(1);
    EXPECT_TRUE(sender.posted().empty());
    EXPECT_EQ(target.clicks, 0);
    EXPECT_EQ(target.asked, 0);

    // A new press while one is held (its release lost) replaces it; only the new one is asked.
    down({110, 110});
    down({112, 112});
    EXPECT_TRUE(up({112, 112}));
    queue.advance(1);
    EXPECT_EQ(target.asked, 1);
    EXPECT_EQ(target.clicks, 1);
    EXPECT_TRUE(sender.posted().empty());
}
