#include "WindowsFixture.h"

#include <cstring>

using namespace fenwold;
using fenwold::testing::WindowsTest;

namespace {

class Activation : public WindowsTest {
protected:
    WindowInfo listedInfo(uint32_t id) {
        for (const auto& w : store.snapshot())
            if (w.id == id) return w;
        ADD_FAILURE() << "window " << id << " is not listed";
        return {};
    }
    bool isFront(uint32_t id) {
        return !sim.windows.stacking().empty() && sim.windows.stacking().front() == id;
    }
};

} // namespace

TEST(ActivationRecords, EventRecordAndRemoteTokenHaveTheirFixedLayout) {
    const QByteArray record = WindowActivation::eventRecord(0x01020304);
    ASSERT_EQ(record.size(), 256);
    QByteArray expected(256, '\0');
    expected[0x04] = static_cast<char>(0xF8);
    expected[0x08] = 0x01;
    const double far = 300000.0;
    std::memcpy(expected.data() + 0x20, &far, 8);
    std::memcpy(expected.data() + 0x28, &far, 8);
    expected[0x3A] = 0x10;
    expected[0x3C] = 0x04;
    expected[0x3D] = 0x03;
    expected[0x3E] = 0x02;
    expected[0x3F] = 0x01;
    EXPECT_EQ(record, expected);

    const QByteArray token = WindowActivation::remoteToken(0x1F5, 0x0102030405060708ull);
    EXPECT_EQ(token.toHex(), QByteArray("f5010000"
                                        "00000000"
                                        "6f636f63"
                                        "0807060504030201"));
}

TEST_F(Activation, BringsTheChosenWindowForwardThroughTheWindowServer) {
    auto mail = sim.app("com.example.Mail", "Mail").window("Inbox", {0, 0, 600, 400});
    const uint32_t draft = mail.window("Draft", {20, 20, 600, 400});
    auto other = sim.app("com.example.Other", "Other").frontmost().window("Other", {0, 0, 600, 400});
    store.start();
    windows.activate(listedInfo(mail));
    EXPECT_TRUE(isFront(mail));
    EXPECT_EQ(sim.windows.focusedWindow(mail.pid()), mail.number());
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, mail.pid());
    const QStringList expected = {
        QStringLiteral("front pid=%1 window=%2 options=0x200").arg(mail.pid()).arg(mail.number()),
        QStringLiteral("event pid=%1 bytes=256 type=0x1").arg(mail.pid())};
    EXPECT_EQ(sim.privateServices.calls(), expected);
    (void)draft;
    (void)other;
}

TEST_F(Activation, SwitchingAwayFromAFullScreenWindowKeepsItsPreview) {
    auto film = sim.app("com.example.Player", "Player").frontmost().window("Film", {0, 0, 800, 450});
    auto mail = sim.app("com.example.Mail", "Mail").window("Inbox", {0, 0, 600, 400});
    store.start();
    sim.windows.setFullscreenNow(film);
    sim.windows.raise(film);
    ASSERT_FALSE(store.previews().count(film));
    windows.activate(listedInfo(mail));
    EXPECT_TRUE(store.previews().count(film)); // taken while its Space was still shown
    EXPECT_NE(sim.windows.currentSpace(), sim.windows.window(film)->space);
}

TEST_F(Activation, AMinimisedWindowIsRestoredAndAHiddenApplicationUnhiddenFirst) {
    auto notes = sim.app("com.example.Notes", "Notes").window("Shopping", {0, 0, 400, 300}).minimized();
    auto hiddenApp = sim.app("com.example.Hidden", "Hidden").window("Secret", {0, 0, 400, 300});
    sim.workspace.hide(hiddenApp.pid());
    store.start();

    const WindowInfo shopping = listedInfo(notes);
    ASSERT_TRUE(shopping.isMinimized);
    windows.activate(shopping);
    EXPECT_FALSE(sim.windows.window(notes)->minimized);
    EXPECT_TRUE(isFront(notes));

    std::vector<WorkspaceEvent::Kind> events;
    Subscription watch = sim.workspace.observe([&](const WorkspaceEvent& e) {
        if (e.pid == hiddenApp.pid()) events.push_back(e.kind);
    });
    windows.activate(listedInfo(hiddenApp));
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.front(), WorkspaceEvent::Kind::unhidden);
    EXPECT_FALSE(sim.workspace.app(hiddenApp.pid())->hidden);
    EXPECT_TRUE(isFront(hiddenApp));
}

TEST_F(Activation, AWindowOnAnotherSpaceIsFoundThroughItsRemoteToken) {
    auto app = sim.app("com.example.Code", "Code").window("Main", {0, 0, 600, 400});
    const uint32_t away = app.window("Other Space", {0, 0, 600, 400}).onSpace(2).notInWindowsList();
    store.start();
    WindowInfo info;
    info.id = away;
    info.pid = app.pid();
    sim.privateServices.setFrontProcessAvailable(false); // only the element can raise it
    windows.activate(info);
    EXPECT_TRUE(isFront(away));
    EXPECT_EQ(sim.windows.currentSpace(), 2);
    EXPECT_EQ(sim.accessibility.messagingTimeout(sim.windows.window(away)->element), 0.05);
}

TEST_F(Activation, ATokenSearchThatFindsNothingStopsAfterAFifthOfASecondAndActivatesTheApplication) {
    auto app = sim.app("com.example.Code", "Code").window("Main", {0, 0, 600, 400});
    sim.app("com.example.Other", "Other").frontmost();
    sim.accessibility.setRemoteTokensAvailable(true);
    double clock = 0;
    int probes = 0;
    windows.activation().setUptime([&] {
        ++probes;
        return clock += 0.001; // each reading is a millisecond later
    });
    WindowInfo ghost;
    ghost.id = 4242; // no such window anywhere
    ghost.pid = app.pid();
    windows.activate(ghost);
    EXPECT_GE(probes, 195);
    EXPECT_LE(probes, 205);
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, app.pid());
}

TEST_F(Activation, AStaleElementIsNotUsedAndTheRegistryLearnsTheCurrentOne) {
    auto app = sim.app("com.example.Edit", "Edit").window("First", {0, 0, 600, 400});
    const uint32_t second = app.window("Second", {0, 0, 600, 400});
    store.start();
    WindowInfo info = listedInfo(second);
    info.axWindow = sim.windows.window(app)->element; // now stands for another window
    windows.activate(info);
    EXPECT_TRUE(isFront(second));
    EXPECT_EQ(store.registry().at(second).axWindow, sim.windows.window(second)->element);
}

TEST_F(Activation, WithoutThePrivateServicesTheApplicationIsActivatedAndTheWindowRaised) {
    auto app = sim.app("com.example.Edit", "Edit").window("First", {0, 0, 600, 400});
    const uint32_t second = app.window("Second", {0, 0, 600, 400});
    sim.app("com.example.Other", "Other").frontmost().window("Elsewhere", {0, 0, 600, 400});
    sim.privateServices.setFrontProcessAvailable(false);
    store.start();
    windows.activate(listedInfo(app));
    EXPECT_TRUE(sim.privateServices.calls().isEmpty());
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, app.pid());
    EXPECT_TRUE(isFront(app));
    EXPECT_EQ(sim.windows.focusedWindow(app.pid()), app.number());
    (void)second;
}
