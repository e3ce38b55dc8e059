// The Win+X menu on a simulated session: its rows and their letters, where it opens, and what
// each row does, opened through the real dispatch.
#include "core/menus/QuickLinkMenu.h"
#include "core/input/FenwoldKeys.h"
#include "core/input/Inject.h"
#include "core/input/Keys.h"
#include "core/input/TapDispatcher.h"
#include "core/settings/Prefs.h"
#include "core/shell/WindowActionsBridge.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"
#include "support/DispatchParts.h"

#include <QDir>
#include <gtest/gtest.h>
#include <set>

using namespace fenwold;

namespace {

// Records what the menu showed and where, and chooses the row with a scripted title.
class ChoosingPresenter final : public MenuPresenter {
public:
    Size measure(const std::vector<MenuRow>&) override { return {200, 330}; }
    std::optional<std::size_t> popUp(const std::vector<MenuRow>& rows, Point topLeft) override {
        shown = rows;
        at = topLeft;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (!choice.isEmpty() && menuRowText(rows[i].title) == choice) return i;
        return std::nullopt;
    }
    QString choice;
    std::vector<MenuRow> shown;
    Point at;
};

struct QuickLinks : ::testing::Test {
    QuickLinks() {
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::winX, true);
        editor = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
        sim.windows.open(editor, "Notes", {100, 100, 600, 400}); // its menu bar, with the Apple menu
        forward.menu = &menu;
    }
    // Win+X, then the row with this title.
    void choose(const QString& title) {
        presenter.choice = title;
        TapEvent e;
        e.type = eventtype::keyDown;
        e.keyCode = kX;
        e.flags = flag::command;
        EXPECT_EQ(dispatch.handle(e), TapAnswer::swallow);
        sim.mainQueue.drain();
    }
    QStringList opened() const {
        QStringList out;
        for (const QUrl& u : sim.workspace.openedURLs())
            out << (u.isLocalFile() ? u.toLocalFile() : u.toString());
        return out;
    }
    TapDispatcher::Parts parts() {
        TapDispatcher::Parts p = fenwold::testing::dispatchPartsOf(sim, routing);
        p.inject = &inject;
        p.winKeys = &keys;
        p.windows = &actions;
        return p;
    }

    SimSession sim;
    Platform platform = sim.platform();
    WindowModel model{platform};
    WindowActionsBridge actions{model.windows};
    InputRoutingState routing;
    Inject inject{sim.keys, sim.workspace, sim.log};
    ChoosingPresenter presenter;
    // The menu is made after the keys that open it; the keys reach it through this.
    struct Forward final : QuickLinkTarget {
        QuickLinkMenu* menu = nullptr;
        void show() override { menu->show(); }
    } forward;
    FenwoldKeys keys{sim.prefs,
                     sim.mainQueue,
                     sim.workspace,
                     sim.accessibility,
                     sim.privateServices,
                     inject,
                     {&actions, nullptr, &forward, nullptr},
                     15};
    QuickLinkMenu menu{platform, keys, presenter};
    TapDispatcher dispatch{parts()};
    int32_t editor = 0;
};

} // namespace

TEST_F(QuickLinks, TheRowsAreTheMacsCounterpartsEachWithALetterOfItsOwn) {
    QStringList titles;
    std::set<QChar> letters;
    for (const QuickLinkItem& item : QuickLinkMenu::items()) {
        if (item.separator) {
            titles << "—";
            continue;
        }
        titles << menuRowText(item.title);
        const auto letter = menuRowLetter(item.title);
        ASSERT_TRUE(letter) << item.title.toStdString();
        EXPECT_TRUE(letters.insert(*letter).second) << item.title.toStdString();
    }
    EXPECT_EQ(titles, (QStringList{"Activity Monitor", "Terminal", "Disk Utility", "—", "System Settings",
                                   "Finder", "Force Quit", "—", "Lock Screen", "Log Out…", "—", "Sleep",
                                   "Restart…", "Shut Down…"}));
}

TEST(MenuRows, TheMarkedLetterAndTheTextAsItReads) {
    EXPECT_EQ(menuRowLetter("Dis&k Utility"), QChar('k'));
    EXPECT_EQ(menuRowText("Dis&k Utility"), "Disk Utility");
    EXPECT_EQ(menuRowLetter("Quit Fish && &Chips"), QChar('c'));
    EXPECT_EQ(menuRowText("Quit Fish && &Chips"), "Quit Fish & Chips");
    EXPECT_FALSE(menuRowLetter("Quit Fish && Chips"));
    EXPECT_EQ(menuRowText(literalMenuTitle("A & B")), "A & B");
}

TEST_F(QuickLinks, TheMenuOpensAtThePointerInsideItsDisplay) {
    sim.screens.movePointer({300, 600});
    choose({});
    EXPECT_EQ(presenter.shown.size(), 14u);
    EXPECT_EQ(presenter.at, (Point{300, 600}));
    // Near the bottom-right corner it is pulled in, 8 points from the visible frame's edges.
    sim.screens.movePointer({1435, 20});
    choose({});
    const Rect v = sim.screens.screens().front().visibleFrame;
    EXPECT_EQ(presenter.at, (Point{v.maxX() - 200 - 8, v.minY() + 330 + 8}));
    // On a second display, inside that one.
    const int second = sim.display(1280, 800);
    const Rect v2 = sim.screens.screens()[static_cast<std::size_t>(second)].visibleFrame;
    sim.screens.movePointer({v2.maxX() - 5, v2.midY()});
    choose({});
    EXPECT_EQ(presenter.at.x, v2.maxX() - 208);
}

TEST_F(QuickLinks, ToolsAndSettingsOpenAndFinderOpensTheHomeFolder) {
    for (const char* title : {"Activity Monitor", "Terminal", "Disk Utility", "System Settings", "Finder"})
        choose(title);
    EXPECT_EQ(opened(), (QStringList{"/System/Applications/Utilities/Activity Monitor.app",
                                     "/System/Applications/Utilities/Terminal.app",
                                     "/System/Applications/Utilities/Disk Utility.app",
                                     "/System/Applications/System Settings.app", QDir::homePath()}));
    // Escape (no row chosen) does nothing.
    choose({});
    EXPECT_EQ(opened().size(), 5);
}

TEST_F(QuickLinks, ThePowerRowsGoThroughTheAppleMenuWhichAsksFirst) {
    choose("Force Quit");
    choose("Log Out…");
    choose("Lock Screen");
    // ⌥⌘Esc to the session, as the keyboard types it, so that the window opens while the front
    // application hangs; ⇧⌘Q, the Apple menu's key equivalent, to the front application; the
    // lock through the system's own call.
    std::vector<PostedKey> downs;
    for (const PostedKey& k : sim.keys.posted())
        if (k.keyDown) downs.push_back(k);
    EXPECT_EQ(downs, (std::vector<PostedKey>{{53, true, flag::option | flag::command, 0},
                                             {12, true, flag::shift | flag::command, editor}}));
    EXPECT_EQ(sim.privateServices.calls().last(), "lock");
    EXPECT_EQ(sim.systemUI.journal().value(0), "force quit");

    // Restart… and Shut Down… ask, as their items in the Apple menu do; Sleep sleeps.
    choose("Restart…");
    EXPECT_EQ(sim.systemUI.confirmation(), "Restart");
    sim.systemUI.dismiss();
    choose("Shut Down…");
    EXPECT_EQ(sim.systemUI.confirmation(), "Shut Down");
    sim.systemUI.dismiss();
    choose("Sleep");
    EXPECT_EQ(sim.systemUI.journal().mid(1), (QStringList{"asked Restart", "asked Shut Down", "sleep"}));
    // Nothing restarted or shut down without the answer.
    EXPECT_FALSE(sim.systemUI.journal().contains("restart"));
}
