// Alt+Tab end to end: tap events through the real dispatch, the key forwarder and the session on
// a simulated session.
#include "OverlayRig.h"
#include "core/input/Keys.h"
#include "core/input/TapDispatcher.h"
#include "core/switcher/SwitcherSession.h"
#include "support/DispatchParts.h"

using namespace fenwold;
using fenwold::testing::picture;

namespace {

class AltTab : public fenwold::testing::OverlayRig {
protected:
    AltTab() {
        auto mail = sim.app("com.example.mail", "Mail");
        inbox = mail.window("Inbox", {40, 60, 900, 700}).image(picture(Qt::darkCyan));
        auto preview = sim.app("com.example.preview", "Preview");
        photo = preview.window("Photo", {80, 80, 700, 500}).image(picture(Qt::darkMagenta));
        auto notes = sim.app("com.example.notes", "Notes");
        list = notes.window("List", {120, 90, 600, 600}).image(picture(Qt::darkYellow));
        draft = notes.window("Draft", {160, 120, 600, 600}).image(picture(Qt::darkGreen));
        notes.frontmost();
        model.store.start();
    }

    TapDispatcher::Parts parts() {
        TapDispatcher::Parts p = fenwold::testing::dispatchPartsOf(sim, routing);
        p.inject = &inject;
        p.hints = &hud;
        p.forwarder = &forwarder;
        p.switcher = &session;
        return p;
    }

    TapAnswer key(uint32_t type, int64_t code, uint64_t flags) {
        TapEvent e;
        e.type = type;
        e.keyCode = code;
        e.flags = flags;
        return dispatcher.tapCallback(e);
    }
    TapAnswer down(int64_t code, uint64_t flags = 0) { return key(eventtype::keyDown, code, flags); }
    TapAnswer up(int64_t code, uint64_t flags = 0) { return key(eventtype::keyUp, code, flags); }
    TapAnswer modifiers(uint64_t flags) { return key(eventtype::flagsChanged, 0, flags); }
    // Keys posted to applications, as "down 9 0x100000 -> pid".
    QStringList posted() const {
        QStringList out;
        for (const PostedKey& k : sim.keys.posted())
            out << QStringLiteral("%1 %2 0x%3 -> %4")
                       .arg(k.keyDown ? "down" : "up")
                       .arg(k.keyCode)
                       .arg(k.flags, 0, 16)
                       .arg(k.pid);
        return out;
    }

    uint32_t inbox = 0, photo = 0, list = 0, draft = 0;
    SwitcherSession session{sessionParts(), [this](SwitcherModel&) {
                                auto p = std::make_unique<fenwold::testing::RecordingGridPanel>();
                                panel = p.get();
                                return p;
                            }};
    TapDispatcher dispatcher{parts()};
};

} // namespace

TEST_F(AltTab, TabbingThenTypingBeforeActivationReachesTheChosenWindowOnce) {
    constexpr auto swallow = TapAnswer::swallow;
    const uint64_t opt = flag::option;
    EXPECT_EQ(modifiers(opt), TapAnswer::pass);
    EXPECT_EQ(down(kTab, opt), swallow);
    EXPECT_EQ(up(kTab, opt), swallow);
    sim.mainQueue.drain();
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(panel->visible);
    const std::vector<WindowInfo> shown = session.model().windows();
    ASSERT_EQ(ids(shown), (std::vector<uint32_t>{draft, list, photo, inbox}));
    EXPECT_EQ(session.model().selected(), 1);

    for (uint64_t flags : {opt, opt, opt | flag::shift}) {
        EXPECT_EQ(down(kTab, flags), swallow);
        EXPECT_EQ(up(kTab, flags), swallow);
    }
    EXPECT_EQ(modifiers(0), TapAnswer::pass); // Option released: the session commits
    // Command+V typed before the main thread has activated anything.
    EXPECT_EQ(modifiers(flag::command), TapAnswer::pass);
    EXPECT_EQ(down(kV, flag::command), swallow);
    EXPECT_EQ(up(kV, flag::command), swallow);
    EXPECT_EQ(modifiers(0), TapAnswer::pass);
    EXPECT_TRUE(posted().isEmpty());

    sim.mainQueue.drain();
    const int32_t preview = sim.windows.window(photo)->pid;
    EXPECT_EQ(session.model().windows().size(), 0u);
    EXPECT_FALSE(panel->visible);
    EXPECT_EQ(frontWindow(), photo);
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, preview);
    EXPECT_EQ(posted(), (QStringList{QStringLiteral("down 9 0x100000 -> %1").arg(preview),
                                     QStringLiteral("up 9 0x100000 -> %1").arg(preview)}));
    EXPECT_TRUE(routing.snapshot().switcherPhase.isClosed());
    EXPECT_EQ(forwarder.sessionID(), std::nullopt);

    // The next keys go to the application as usual.
    EXPECT_EQ(down(kA), TapAnswer::pass);
    EXPECT_EQ(up(kA), TapAnswer::pass);
}

TEST_F(AltTab, EscClosesWithoutActivatingAndLaterKeysPass) {
    const int32_t front = sim.workspace.frontmostApp()->pid;
    EXPECT_EQ(down(kTab, flag::option), TapAnswer::swallow);
    EXPECT_EQ(up(kTab, flag::option), TapAnswer::swallow);
    sim.mainQueue.drain();
    ASSERT_TRUE(panel && panel->visible);
    EXPECT_EQ(down(kEsc, flag::option), TapAnswer::swallow);
    EXPECT_EQ(up(kEsc, flag::option), TapAnswer::swallow);
    // Until the main thread has torn the session down every event passes.
    EXPECT_EQ(down(kX, flag::option), TapAnswer::pass);
    EXPECT_EQ(up(kX, flag::option), TapAnswer::pass);
    sim.mainQueue.drain();
    EXPECT_FALSE(panel->visible);
    EXPECT_TRUE(routing.snapshot().switcherPhase.isClosed());
    EXPECT_EQ(modifiers(0), TapAnswer::pass);
    sim.mainQueue.drain();
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, front);
    EXPECT_EQ(frontWindow(), draft);
    EXPECT_EQ(down(kA), TapAnswer::pass);
    EXPECT_EQ(up(kA), TapAnswer::pass);
    EXPECT_TRUE(posted().isEmpty());
}

TEST_F(AltTab, ArrowsAndTheWheelDriveTheOpenSwitcher) {
    EXPECT_EQ(down(kTab, flag::option), TapAnswer::swallow);
    EXPECT_EQ(up(kTab, flag::option), TapAnswer::swallow);
    EXPECT_EQ(down(kRight, flag::option), TapAnswer::swallow);
    EXPECT_EQ(up(kRight, flag::option), TapAnswer::swallow);
    TapEvent wheel;
    wheel.type = eventtype::scrollWheel;
    wheel.scrollDelta = -2;
    EXPECT_EQ(dispatcher.tapCallback(wheel), TapAnswer::swallow);
    sim.mainQueue.drain();
    EXPECT_EQ(session.model().selected(), 2);
    EXPECT_DOUBLE_EQ(metrics.preferredThumbH, 132);
    EXPECT_EQ(session.selectedWindowID(), photo);
}
