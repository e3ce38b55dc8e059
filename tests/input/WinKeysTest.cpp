// Plain Win+key actions.
#include "InputRig.h"

#include <QDir>
#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

QVariantMap dockTile(const QString& url) {
    return {{"tile-data", QVariantMap{{"file-data", QVariantMap{{"_CFURLString", url}}}}}};
}

struct WinRig : InputRig {
    WinRig() {
        for (PrefKey k : {PrefKey::winD, PrefKey::winE, PrefKey::winL, PrefKey::winM, PrefKey::winNum,
                          PrefKey::winTab, PrefKey::winR, PrefKey::winV})
            set(k, true);
    }
    QStringList opened() const {
        QStringList out;
        for (const QUrl& u : sim.workspace.openedURLs())
            out << (u.isLocalFile() ? u.toLocalFile() : u.toString());
        return out;
    }
    TapAnswer win(int64_t key) {
        const TapAnswer a = press(key, flag::command).first;
        sim.mainQueue.drain();
        return a;
    }
};

} // namespace

TEST(WinKeys, DigitsFollowTheKeyLabelsNotTheCodes) {
    WinRig rig;
    QVariantList apps;
    std::vector<int32_t> pids;
    for (int i = 1; i <= 6; ++i) {
        const QString path = QString("/Applications/App%1.app").arg(i);
        apps << dockTile(QString("file://%1/").arg(path));
        const int32_t pid = rig.sim.app(QString("com.example.app%1").arg(i), QString("App%1").arg(i));
        rig.sim.workspace.update(pid, [&](SimApp& a) { a.info.bundleURL = QUrl::fromLocalFile(path); });
        pids.push_back(pid);
    }
    rig.sim.prefs.setDomainValue("com.apple.dock", "persistent-apps", apps);

    EXPECT_EQ(rig.win(23), TapAnswer::swallow); // the key labelled 5
    EXPECT_EQ(rig.sim.workspace.frontmostApp()->pid, pids[4]);
    EXPECT_EQ(rig.win(22), TapAnswer::swallow); // 6
    EXPECT_EQ(rig.sim.workspace.frontmostApp()->pid, pids[5]);
    EXPECT_TRUE(rig.opened().isEmpty()); // running apps are activated, not launched again
    EXPECT_EQ(rig.hud.current()->mac, "~no ~native ~equivalent");

    // Past the Dock's list: swallowed, nothing happens.
    EXPECT_EQ(rig.win(28), TapAnswer::swallow);
    EXPECT_EQ(rig.sim.workspace.frontmostApp()->pid, pids[5]);
}

TEST(WinKeys, ADockAppThatIsNotRunningIsOpened) {
    WinRig rig;
    rig.sim.prefs.setDomainValue("com.apple.dock", "persistent-apps",
                                 QVariantList{dockTile("file:///Applications/Mail.app/"), QVariantMap{}});
    rig.win(18);
    EXPECT_EQ(rig.opened(), QStringList{"/Applications/Mail.app/"});
    rig.win(19); // an entry without a URL is ignored
    EXPECT_EQ(rig.opened().size(), 1);
}

TEST(WinKeys, TableActionsAndFallbacks) {
    WinRig rig;
    rig.win(kD);
    rig.win(kL);
    EXPECT_EQ(rig.sim.privateServices.calls().size(), 2);
    EXPECT_TRUE(rig.posted().isEmpty());

    // Without the private entry points the equivalent keys are posted.
    rig.sim.privateServices.setDockAvailable(false);
    rig.sim.privateServices.setLockAvailable(false);
    rig.win(kD);
    rig.win(kL);
    const int32_t te = rig.textEdit;
    const QStringList expected = {QString("down 103 0x0 -> %1").arg(te), QString("up 103 0x0 -> %1").arg(te),
                                  QString("down 12 0x140000 -> %1").arg(te),
                                  QString("up 12 0x140000 -> %1").arg(te)};
    EXPECT_EQ(rig.posted(), expected);

    rig.win(kE);
    rig.win(kTab);
    rig.win(kR);
    EXPECT_EQ(rig.opened(), (QStringList{QDir::homePath(), "/System/Applications/Mission Control.app",
                                         "/System/Applications/Launchpad.app"}));

    rig.win(kM);
    rig.win(kHome);
    EXPECT_EQ(rig.calls.calls(), (QStringList{"minimizeAll all", "minimizeAll except"}));
    EXPECT_EQ(rig.hud.current()->win, "Win+Home");

    // Win+Home follows `winM`, not a switch of its own; unknown keys pass.
    rig.set(PrefKey::winM, false);
    EXPECT_EQ(rig.win(kHome), TapAnswer::pass);
    EXPECT_EQ(rig.win(kQ), TapAnswer::pass);
}

TEST(WinKeys, LauncherFollowsTheSystemVersion) {
    SimSession sim;
    InputRoutingState routing;
    Inject inject(sim.keys, sim.workspace, sim.log);
    FenwoldKeys keys(sim.prefs, sim.mainQueue, sim.workspace, sim.accessibility, sim.privateServices, inject,
                     {}, 26);
    keys.launchApps();
    EXPECT_EQ(sim.workspace.openedURLs(), QList<QUrl>{QUrl("spotlight://apps")});
}

namespace {

// The Windows key as the hardware sends it: flags-changed events carrying the held modifiers.
struct WinAloneRig : InputRig {
    WinAloneRig() { set(PrefKey::winAlone, true); }
    // Press Win, wait, let it go; how many times Spotlight was asked for.
    void tapWin(double held = 0.1, uint64_t win = flag::command) {
        EXPECT_EQ(flagsChanged(win), TapAnswer::pass);
        sim.mainQueue.advance(held);
        EXPECT_EQ(flagsChanged(0), TapAnswer::pass);
        sim.mainQueue.drain();
    }
    int spotlights() const {
        int n = 0;
        for (const PostedKey& k : sim.keys.posted())
            n += k.pid == 0 && k.keyDown && k.keyCode == kSpace && k.flags == flag::command;
        return n;
    }
};

} // namespace

TEST(WinKeys, WinPressedAndReleasedAloneOpensSpotlight) {
    WinAloneRig rig;
    rig.tapWin();
    EXPECT_EQ(rig.spotlights(), 1);
    EXPECT_EQ(rig.hud.current()->mac, "⌘ Space ~for ~Spotlight");
    // Nothing was posted to the front application: the ⌘ press itself passed untouched.
    for (const PostedKey& k : rig.sim.keys.posted())
        EXPECT_EQ(k.pid, 0);

    // Held past 0.4 seconds it was a plain ⌘.
    rig.tapWin(0.45);
    EXPECT_EQ(rig.spotlights(), 1);
}

TEST(WinKeys, AnythingBetweenWinsPressAndReleaseKeepsItThePlainCommandKey) {
    WinAloneRig rig;
    using namespace fenwold::testing::shorthand;
    // A ⌘ shortcut: it reaches the application as it is, and no Spotlight follows.
    rig.flagsChanged(cmd);
    EXPECT_EQ(rig.press(kS, cmd), std::make_pair(pass, pass));
    rig.flagsChanged(0);
    // Another modifier in between, even one let go before Win.
    rig.flagsChanged(cmd);
    rig.flagsChanged(cmd | sh);
    rig.flagsChanged(cmd);
    rig.flagsChanged(0);
    // Shift held first, then Win.
    rig.flagsChanged(sh);
    rig.flagsChanged(sh | cmd);
    rig.flagsChanged(sh);
    rig.flagsChanged(0);
    // A click with Win held (a ⌘-click).
    rig.flagsChanged(cmd);
    TapEvent click;
    click.type = eventtype::leftMouseDown;
    click.flags = cmd;
    rig.feed(click);
    click.type = eventtype::leftMouseUp;
    rig.feed(click);
    rig.flagsChanged(0);
    rig.sim.mainQueue.drain();
    EXPECT_EQ(rig.spotlights(), 0);

    // The row's own switch, the master switch, an excluded application, an open switcher.
    rig.set(PrefKey::winAlone, false);
    rig.tapWin();
    rig.set(PrefKey::winAlone, true);
    rig.set(PrefKey::shortcutsEnabled, false);
    rig.tapWin();
    rig.set(PrefKey::shortcutsEnabled, true);
    rig.prefs().setExcludedApps({"com.apple.TextEdit"});
    rig.tapWin();
    rig.prefs().setExcludedApps({});
    rig.routing.setSnapAssistOpen(true);
    rig.tapWin();
    rig.routing.setSnapAssistOpen(false);
    EXPECT_EQ(rig.spotlights(), 0);

    // With Control and Command swapped the Windows key is the one that sends ⌃.
    rig.set(PrefKey::swapCtrlCmd, true);
    rig.tapWin(0.1, cmd);
    EXPECT_EQ(rig.spotlights(), 0);
    rig.tapWin(0.1, ctl);
    EXPECT_EQ(rig.spotlights(), 1);
}

// Win+Space and left Alt+Shift select the next keyboard layout, as on Windows; both are off at
// first (the first hides Spotlight's ⌘Space, the second is also how text is selected).
TEST(WinKeys, WinSpaceAndLeftAltShiftSelectTheNextInputSource) {
    using namespace fenwold::testing::shorthand;
    InputRig rig;
    rig.sim.inputSources.setSources(
        {{"us", true, true, true}, {"de", true, true, true}, {"fr", true, true, true}}, "us");
    const auto current = [&] {
        rig.sim.mainQueue.drain();
        return rig.sim.inputSources.current();
    };
    EXPECT_FALSE(rig.prefs().winSpace());
    EXPECT_FALSE(rig.prefs().altShiftSource());
    EXPECT_EQ(rig.press(kSpace, cmd).first, pass); // Spotlight's own key
    rig.set(PrefKey::winSpace, true);
    EXPECT_EQ(rig.press(kSpace, cmd), std::make_pair(swallow, swallow));
    EXPECT_EQ(current(), QString("de"));
    EXPECT_EQ(rig.press(kSpace, cmd | sh).first, swallow); // back
    EXPECT_EQ(current(), QString("us"));
    // Held, it moves once.
    rig.down(kSpace, cmd);
    rig.down(kSpace, cmd, {.autorepeat = true});
    rig.up(kSpace, cmd);
    EXPECT_EQ(current(), QString("de"));
    // Under the hardware swap the Windows key sends Control: ⌃Space, the Mac's previous source,
    // is the next one here too.
    rig.set(PrefKey::swapCtrlCmd, true);
    EXPECT_EQ(rig.press(kSpace, ctl).first, swallow);
    EXPECT_EQ(current(), QString("fr"));
    rig.set(PrefKey::swapCtrlCmd, false);

    // Left Alt and Shift, pressed and let go with nothing between, in either order.
    const uint64_t leftAlt = opt | flag::leftOption, rightAlt = opt | flag::rightOption;
    const auto chord = [&](uint64_t alt, bool shiftFirst) {
        rig.flagsChanged(shiftFirst ? sh : alt);
        rig.flagsChanged(alt | sh);
        rig.flagsChanged(shiftFirst ? alt : sh);
        rig.flagsChanged(0);
    };
    chord(leftAlt, false);
    EXPECT_EQ(current(), QString("fr")); // off
    rig.set(PrefKey::altShiftSource, true);
    chord(leftAlt, false);
    EXPECT_EQ(current(), QString("us"));
    chord(leftAlt, true);
    EXPECT_EQ(current(), QString("de"));
    // The right Alt (AltGr on many layouts), Alt alone, and Alt+Shift used to select text.
    chord(rightAlt, false);
    rig.flagsChanged(leftAlt);
    rig.flagsChanged(0);
    rig.flagsChanged(leftAlt);
    rig.flagsChanged(leftAlt | sh);
    rig.press(kRight, opt | sh);
    rig.flagsChanged(leftAlt);
    rig.flagsChanged(0);
    EXPECT_EQ(current(), QString("de"));
    EXPECT_TRUE(rig.posted().isEmpty());
}
