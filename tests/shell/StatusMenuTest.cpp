#include "core/shell/StatusMenu.h"
#include "core/shell/AccessibilityGate.h"
#include "core/shell/TrayClicks.h"
#include "platform/sim/SimSession.h"
#include "support/Snapshots.h"
#include "ui/shell/QtShellViews.h"
#include "ui/shell/StatusIcon.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {
QStringList titlesOf(const std::vector<StatusMenuItem>& items) {
    QStringList titles;
    for (const auto& item : items) {
        if (item.isSeparator()) {
            titles << "-";
            continue;
        }
        titles << item.title + "|" + item.keyEquivalent + (item.enabled ? "" : "|disabled") +
                      (item.checked ? "|checked" : "");
    }
    return titles;
}
} // namespace

TEST(StatusMenu, ItemsKeyEquivalentsAndSeparatorsInOrder) {
    StatusMenuState state;
    state.frontName = "TextEdit";
    state.frontExcludable = true;
    EXPECT_EQ(titlesOf(statusMenuItems(state)),
              (QStringList{"Pause Shortcuts in TextEdit|", "-", "Clipboard Shelf|", "-", "Settings…|,",
                           "Check for Updates…|", "-", "Quit Fenwold|q"}));
    // An excluded front application is checked; one without a bundle identifier cannot be chosen.
    state.frontExcluded = true;
    EXPECT_EQ(titlesOf(statusMenuItems(state)).front(), "Pause Shortcuts in TextEdit||checked");
    state.frontExcludable = false;
    EXPECT_EQ(titlesOf(statusMenuItems(state)).front(), "Pause Shortcuts in TextEdit||disabled");
    EXPECT_EQ(titlesOf(statusMenuItems({})).front(), "Pause Shortcuts in This App||disabled");
}

TEST(StatusMenu, SecureKeyboardEntryComesFirstAsADisabledLine) {
    StatusMenuState state;
    state.secureInputHolder = "Vault";
    state.frontName = "TextEdit";
    state.frontExcludable = true;
    const QStringList titles = titlesOf(statusMenuItems(state));
    ASSERT_GE(titles.size(), 3);
    EXPECT_EQ(titles[0], "Shortcuts paused: Vault is using Secure Keyboard Entry||disabled");
    EXPECT_EQ(titles[1], "-");
    EXPECT_EQ(titles[2], "Pause Shortcuts in TextEdit|");
    EXPECT_FALSE(statusMenuItems(state).front().action);
}

namespace {
struct TrayFixture : ::testing::Test {
    SimSession sim;
    int menus = 0;
    int settings = 0;
    TrayClicks clicks{sim.mainQueue, sim.screens, [this] { ++menus; }, [this] { ++settings; }};
    void SetUp() override { sim.screens.setDoubleClickInterval(0.4); }
};
} // namespace

TEST_F(TrayFixture, SingleLeftClickOpensTheMenuOnlyAfterTheDoubleClickInterval) {
    clicks.clicked(TrayClicks::Button::left, 1);
    sim.mainQueue.advance(0.39);
    EXPECT_EQ(menus, 0);
    EXPECT_TRUE(clicks.menuPending());
    sim.mainQueue.advance(0.02);
    EXPECT_EQ(menus, 1);
    EXPECT_EQ(settings, 0);
}

TEST_F(TrayFixture, DoubleClickOpensSettingsAndNoMenu) {
    clicks.clicked(TrayClicks::Button::left, 1);
    sim.mainQueue.advance(0.2);
    clicks.clicked(TrayClicks::Button::left, 2);
    sim.mainQueue.advance(2);
    EXPECT_EQ(menus, 0);
    EXPECT_EQ(settings, 1);
}

TEST_F(TrayFixture, RightClickOpensTheMenuAtOnceAndDropsAPendingOne) {
    clicks.clicked(TrayClicks::Button::left, 1);
    clicks.clicked(TrayClicks::Button::right, 1);
    EXPECT_EQ(menus, 1);
    sim.mainQueue.advance(2);
    EXPECT_EQ(menus, 1);
}

TEST(AccessibilityGateTest, ArmsAtOnceWhenTrustedAndOtherwiseAsSoonAsTheSystemAnnouncesTheGrant) {
    SimSession sim;
    int armed = 0;
    sim.accessibility.setTrusted(false);
    AccessibilityGate gate(sim.mainQueue, sim.accessibility, {[&] { ++armed; }, {}, {}});
    gate.start();
    EXPECT_EQ(sim.accessibility.trustRequests(), 1);
    sim.mainQueue.advance(30);
    EXPECT_EQ(armed, 0);
    EXPECT_TRUE(gate.polling());
    sim.accessibility.setTrusted(true);
    EXPECT_EQ(armed, 1); // no waiting for a poll
    gate.start();
    sim.mainQueue.advance(30);
    EXPECT_EQ(armed, 1);
    EXPECT_EQ(sim.accessibility.trustRequests(), 1);

    SimSession trusted;
    int armedAtOnce = 0;
    AccessibilityGate direct(trusted.mainQueue, trusted.accessibility, {[&] { ++armedAtOnce; }, {}, {}});
    direct.start();
    EXPECT_EQ(armedAtOnce, 1);
}

TEST(AccessibilityGateTest,
     AnAnswerThatLagsTheAnnouncementIsReadAgainAndASlowPollCatchesAnUnannouncedChange) {
    SimSession sim;
    int lost = 0, regained = 0;
    AccessibilityGate gate(sim.mainQueue, sim.accessibility, {[] {}, [&] { ++lost; }, [&] { ++regained; }});
    gate.start();
    // The list changed, but the permission reads as before for a moment.
    sim.accessibility.setTrusted(true, true);
    sim.accessibility.setTrusted(false, false);
    EXPECT_EQ(lost, 0);
    sim.mainQueue.advance(AccessibilityGate::recheckDelay);
    EXPECT_EQ(lost, 1);
    // A change nobody announced waits for the poll: every ten seconds, not every second.
    sim.accessibility.setTrusted(true, false);
    sim.mainQueue.advance(AccessibilityGate::pollInterval - 1.5);
    EXPECT_EQ(regained, 0);
    sim.mainQueue.advance(2.5);
    EXPECT_EQ(regained, 1);
}

TEST(AccessibilityGateTest, KeepsWatchingAfterArmingAndReportsEachLossAndReturnOnce) {
    SimSession sim;
    int armed = 0, lost = 0, regained = 0;
    AccessibilityGate gate(sim.mainQueue, sim.accessibility,
                           {[&] { ++armed; }, [&] { ++lost; }, [&] { ++regained; }});
    gate.start();
    ASSERT_EQ(armed, 1);
    EXPECT_TRUE(gate.polling()); // the user may revoke the permission at any time

    sim.accessibility.setTrusted(false);
    EXPECT_EQ(lost, 1);
    EXPECT_FALSE(gate.trusted());
    sim.mainQueue.advance(30);
    EXPECT_EQ(lost, 1);
    sim.accessibility.setTrusted(true);
    EXPECT_EQ(regained, 1);
    sim.mainQueue.advance(30);
    EXPECT_EQ(armed, 1);
    EXPECT_EQ(regained, 1);
}

TEST(StatusIcon, DrawsABarAboveALetterWOnTransparent) {
    const QImage icon = statusIconImage(2);
    EXPECT_EQ(icon.size(), QSize(36, 36));
    EXPECT_EQ(icon.deviceIndependentSize(), QSizeF(18, 18));
    auto inkAt = [&](double x, double yFromBottom) {
        return qAlpha(icon.pixel(static_cast<int>(x * 2), static_cast<int>((18 - yFromBottom) * 2)));
    };
    EXPECT_GT(inkAt(9, 15.7), 200);  // the bar (lifted by 0.7)
    EXPECT_GT(inkAt(6.0, 3.2), 100); // the W's left valley
    EXPECT_EQ(inkAt(1, 1), 0);       // corners stay clear
    EXPECT_EQ(inkAt(9, 4), 0);       // between the W's strokes
    const QString dir = fenwold::testing::snapshotFolder();
    if (!dir.isEmpty()) icon.scaled(144, 144).save(QDir(dir).filePath("status-icon.png"));
}

TEST(StatusMenu, QtMenuHasTheItemsShortcutsActionsAndStates) {
    std::vector<StatusAction> chosen;
    StatusMenuState state;
    state.secureInputHolder = "Vault";
    state.frontName = "TextEdit";
    state.frontExcludable = true;
    state.frontExcluded = true;
    auto menu =
        QtShellViews::buildStatusMenu(statusMenuItems(state), [&](StatusAction a) { chosen.push_back(a); });
    const auto actions = menu->actions();
    ASSERT_EQ(actions.size(), 10);
    EXPECT_FALSE(actions[0]->isEnabled());
    EXPECT_TRUE(actions[1]->isSeparator());
    EXPECT_TRUE(actions[2]->isEnabled());
    EXPECT_TRUE(actions[2]->isChecked());
    EXPECT_EQ(actions[6]->text(), "Settings…");
    EXPECT_EQ(actions[6]->shortcut(), QKeySequence("Ctrl+,"));
    EXPECT_EQ(actions[9]->shortcut(), QKeySequence("Ctrl+Q"));
    actions[0]->trigger();
    actions[2]->trigger();
    actions[4]->trigger();
    actions[9]->trigger();
    EXPECT_EQ(chosen, (std::vector<StatusAction>{StatusAction::toggleExclusion, StatusAction::openClipboard,
                                                 StatusAction::quit}));
    menu->adjustSize();
    const QImage image = menu->grab().toImage();
    EXPECT_GT(image.height(), 60);
    const QString dir = fenwold::testing::snapshotFolder();
    if (!dir.isEmpty()) image.save(QDir(dir).filePath("status-menu.png"));
}

TEST(StatusIcon, HalfOpacityHalvesTheInk) {
    const QImage full = statusIconImage(2), dimmed = statusIconImage(2, 0.5);
    const QPoint bar(18, 5); // inside the bar above the W
    EXPECT_GT(qAlpha(full.pixel(bar)), 200);
    EXPECT_NEAR(qAlpha(dimmed.pixel(bar)), qAlpha(full.pixel(bar)) / 2, 3);
}

// A menu bar that adopts the menus it shows, as the playground's screen does.
struct AdoptingSlot final : StatusItemSlot {
    std::unique_ptr<QWidget> bar = std::make_unique<QWidget>();
    void install(const QImage&, std::function<void(TrayClicks::Button, int)>) override {}
    void setIcon(const QImage&) override {}
    void showMenu(QMenu& menu) override { menu.setParent(bar.get(), Qt::Widget); }
};

TEST(StatusMenu, AMenuAdoptedByItsBarIsReplacedAndSurvivesTheBarGoingFirst) {
    const std::vector<StatusMenuItem> items{{"Settings…", ",", StatusAction::openSettings}};
    AdoptingSlot slot;
    auto item = std::make_unique<SlotStatusItem>(slot);
    item->popMenu(items, [](StatusAction) {});
    item->popMenu(items, [](StatusAction) {});
    EXPECT_EQ(slot.bar->findChildren<QMenu*>().size(), 1u);
    ASSERT_NE(item->menu(), nullptr);
    slot.bar.reset();
    EXPECT_EQ(item->menu(), nullptr);
    item.reset(); // must not delete the menu a second time
}
