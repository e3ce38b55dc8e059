// The Alt+Space window menu on a simulated session: its rows, where it opens, its actions and
// the keyboard move, driven through the real dispatch where the keys come from.
#include "core/input/Keys.h"
#include "core/input/TapDispatcher.h"
#include "core/input/Trace.h"
#include "core/menus/WindowMenuController.h"
#include "core/settings/Prefs.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"
#include "support/DispatchParts.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// Records what the menu showed and where, and answers with the row of a scripted choice (picked
// even when it is disabled, as a stray click would).
class RecordingPresenter final : public MenuPresenter {
public:
    Size measure(const std::vector<MenuRow>&) override { return size; }
    std::optional<std::size_t> popUp(const std::vector<MenuRow>& rows, Point topLeft) override {
        shown = rows;
        at = topLeft;
        ++popUps;
        if (duringPopUp) duringPopUp();
        if (!choice) return std::nullopt;
        // The row of the action, found by its title (the quit row's names the application).
        QString title;
        for (const auto& item : WindowMenuController::items(WindowMode::normal, QString("x"), QString("App")))
            if (item.action == choice) title = item.title;
        for (std::size_t i = 0; i < rows.size(); ++i)
            if (rows[i].title == title ||
                (*choice == WindowMenuAction::quitApp && rows[i].title.startsWith("Quit ")))
                return i;
        return std::nullopt;
    }
    const MenuRow* row(const QString& title) const {
        for (const auto& r : shown)
            if (r.title == title) return &r;
        return nullptr;
    }
    QStringList checkedTitles() const {
        QStringList out;
        for (const auto& r : shown)
            if (r.checked) out << r.title;
        return out;
    }

    Size size{240, 300};
    std::optional<WindowMenuAction> choice;
    std::vector<MenuRow> shown;
    Point at;
    int popUps = 0;
    std::function<void()> duringPopUp;
};

class RecordingAssist final : public SnapAssistTarget {
public:
    bool handleKey(int64_t, bool) override { return false; }
    void dismiss() override {}
    void show(bool left, uint32_t id) override { shown.emplace_back(left, id); }
    std::vector<std::pair<bool, uint32_t>> shown;
};

class WindowMenuTest : public ::testing::Test {
protected:
    WindowMenuTest() {
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::altSpace, true);
    }

    // The dispatch with the menu as its only collaborator.
    TapDispatcher::Parts dispatchParts() {
        TapDispatcher::Parts parts = fenwold::testing::dispatchPartsOf(sim, routing);
        parts.winMenu = &menu;
        return parts;
    }

    // Open the menu for the front window and choose an item.
    void choose(std::optional<WindowMenuAction> action) {
        presenter.choice = action;
        menu.show();
        sim.mainQueue.advance(2.0); // activation polls, menu presses, full-screen exits
    }
    TapAnswer key(int64_t code, uint64_t flags = 0) {
        TapEvent e;
        e.type = eventtype::keyDown;
        e.keyCode = code;
        e.flags = flags;
        const TapAnswer answer = dispatch.handle(e);
        sim.mainQueue.drain();
        return answer;
    }
    Rect frameOf(uint32_t number) { return sim.windows.window(number)->frame; }
    bool moving() { return routing.snapshot().moveTarget.has_value(); }

    SimSession sim;
    Platform platform = sim.platform();
    WindowModel model{platform};
    InputRoutingState routing;
    RecordingPresenter presenter;
    RecordingAssist assist;
    WindowMenuController menu{platform, model.windows, routing, &assist, presenter, nullptr};
    TapDispatcher dispatch{dispatchParts()};
};

} // namespace

TEST_F(WindowMenuTest, RowsCarryTheWindowsModeAsCheckMarksAndTheirSymbols) {
    const uint32_t notes =
        sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    choose(std::nullopt);
    ASSERT_EQ(presenter.shown.size(), 13u);
    EXPECT_TRUE(presenter.shown[6].separator);
    EXPECT_TRUE(presenter.shown[10].separator);
    EXPECT_TRUE(presenter.checkedTitles().isEmpty());
    const auto* quit = presenter.row("Quit TextEdit");
    ASSERT_NE(quit, nullptr);
    EXPECT_TRUE(quit->enabled);
    EXPECT_EQ(quit->tint, WindowMenuController::kRed);
    EXPECT_EQ(presenter.row("Minimize")->tint, WindowMenuController::kYellow);
    EXPECT_EQ(presenter.row("Full Screen — Left of Screen")->tint, WindowMenuController::kGreen);
    EXPECT_FALSE(presenter.row("Move")->tint.has_value());
    EXPECT_EQ(presenter.row("Snap Right")->symbol, "rectangle.trailinghalf.filled");

    choose(WindowMenuAction::snapLeft);
    EXPECT_EQ(frameOf(notes).x, 0);
    choose(std::nullopt);
    EXPECT_EQ(presenter.checkedTitles(), QStringList{"Snap Left"});
    EXPECT_EQ(menu.mode(), WindowMode::snappedLeft);

    choose(WindowMenuAction::maximize);
    choose(std::nullopt);
    EXPECT_EQ(presenter.checkedTitles(), QStringList{"Maximize"});

    // Maximize on a window the program maximized gives the earlier size back.
    choose(WindowMenuAction::maximize);
    EXPECT_EQ(frameOf(notes), (Rect{100, 100, 600, 400}));
    choose(std::nullopt);
    EXPECT_TRUE(presenter.checkedTitles().isEmpty());

    choose(WindowMenuAction::fullScreen);
    choose(std::nullopt);
    EXPECT_EQ(presenter.checkedTitles(), QStringList{"Full Screen — Entire Screen"});
}

TEST_F(WindowMenuTest, QuitIsDisabledForSystemAgentsAndNamelessApplications) {
    const int32_t finder = sim.app("com.apple.finder", "Finder").frontmost();
    sim.windows.open(finder, "Documents", {200, 200, 500, 300});
    choose(WindowMenuAction::quitApp);
    const auto* quit = presenter.row("Quit Finder");
    ASSERT_NE(quit, nullptr);
    EXPECT_FALSE(quit->enabled);
    EXPECT_FALSE(quit->tint.has_value());
    EXPECT_TRUE(sim.workspace.app(finder).has_value());

    sim.workspace.launchWithPid(777, std::nullopt, std::nullopt);
    sim.workspace.activate(777);
    sim.windows.open(777, "Untitled", {300, 300, 400, 300});
    choose(std::nullopt);
    ASSERT_NE(presenter.row("Quit App"), nullptr);
    EXPECT_FALSE(presenter.row("Quit App")->enabled);

    const int32_t editor = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    sim.windows.open(editor, "Notes", {100, 100, 600, 400});
    choose(WindowMenuAction::quitApp);
    EXPECT_FALSE(sim.workspace.app(editor).has_value());
}

TEST_F(WindowMenuTest, OpensBelowTheCloseButtonAndStaysInsideTheVisibleFrame) {
    sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    choose(std::nullopt);
    // Close button at (108, 106) sized 14 × 16: anchor x 108, 6 points below its bottom edge.
    EXPECT_EQ(presenter.at, (Point{108, 900 - 128}));

    // Near the right edge the menu is pulled left to end 8 points inside the visible frame.
    sim.app("com.apple.Notes", "Notes").frontmost().window("Far right", {1300, 300, 400, 300});
    choose(std::nullopt);
    EXPECT_EQ(presenter.at.x, 1440 - 240 - 8);

    // Without a close button: 16 points in from the corner; never above the visible frame's top.
    const Rect visible{0, 70, 1440, 805};
    EXPECT_EQ(WindowMenuController::placement({-50, -40, 300, 200}, std::nullopt, visible, 900, {240, 300}),
              (Point{8, 875 - 8}));
}

TEST_F(WindowMenuTest, NothingOpensWithoutAnOrdinaryFrontWindow) {
    sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Palette", {100, 100, 200, 200}).layer(3);
    menu.show();
    EXPECT_EQ(presenter.popUps, 0);
    EXPECT_FALSE(menu.target().has_value());
}

TEST_F(WindowMenuTest, PopUpIsBracketedByTraceMarks) {
    QTemporaryDir dir;
    Prefs(sim.prefs).set(PrefKey::debugLog, true);
    Trace trace(sim.prefs, sim.mainQueue, sim.clock, dir.filePath("events.txt"));
    WindowMenuController traced{platform, model.windows, routing, &assist, presenter, &trace};
    sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    auto read = [&] {
        QFile f(dir.filePath("events.txt"));
        return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
    };
    QString duringPopUp;
    presenter.duringPopUp = [&] { duringPopUp = read(); };
    traced.show();
    EXPECT_TRUE(duringPopUp.contains(" *** menu popUp ENTER\n"));
    EXPECT_FALSE(duringPopUp.contains("EXIT"));
    EXPECT_TRUE(read().endsWith(" *** menu popUp EXIT\n"));
}

TEST_F(WindowMenuTest, SnappingFromTheMenuOffersSnapAssistWhenItIsOn) {
    const uint32_t notes =
        sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    choose(WindowMenuAction::snapRight);
    ASSERT_EQ(assist.shown.size(), 1u);
    EXPECT_EQ(assist.shown[0], std::make_pair(false, notes));
    Prefs(sim.prefs).set(PrefKey::snapAssist, false);
    choose(WindowMenuAction::snapLeft);
    EXPECT_EQ(assist.shown.size(), 1u);
}

TEST_F(WindowMenuTest, ArrowStepsMoveWindowAndPointerEscapePutsItBack) {
    const uint32_t notes =
        sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    EXPECT_EQ(key(kSpace, flag::option), TapAnswer::swallow);
    presenter.choice = WindowMenuAction::startMove;
    key(kSpace, flag::option);
    ASSERT_TRUE(moving());
    // The pointer sits on the title bar: the window's middle, the close button's middle.
    ASSERT_FALSE(sim.screens.warps().empty());
    EXPECT_EQ(sim.screens.warps().back(), (Point{400, 114}));

    EXPECT_EQ(key(kRight), TapAnswer::swallow);
    EXPECT_EQ(key(kRight), TapAnswer::swallow);
    EXPECT_EQ(key(kDown), TapAnswer::swallow);
    EXPECT_EQ(key(kUp), TapAnswer::swallow);
    EXPECT_EQ(key(kDown), TapAnswer::swallow);
    EXPECT_EQ(frameOf(notes).origin(), (Point{150, 125}));
    EXPECT_EQ(sim.screens.warps().back(), (Point{450, 139}));

    // After a step the window follows the pointer, held where the pointer grabbed it.
    EXPECT_TRUE(menu.isFollowingPointer());
    sim.screens.movePointer({500, 900 - 200});
    EXPECT_EQ(frameOf(notes).origin(), (Point{200, 186}));

    EXPECT_EQ(key(kEsc), TapAnswer::swallow);
    EXPECT_FALSE(moving());
    EXPECT_FALSE(menu.isFollowingPointer());
    EXPECT_EQ(frameOf(notes).origin(), (Point{100, 100}));
    sim.screens.movePointer({700, 300});
    EXPECT_EQ(frameOf(notes).origin(), (Point{100, 100}));
    // Keys pass again.
    EXPECT_EQ(key(kLeft), TapAnswer::pass);
}

TEST_F(WindowMenuTest, ReturnAndEnterKeepTheNewPlace) {
    const uint32_t notes =
        sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    for (int64_t end : {kReturn, kKeypadEnter}) {
        choose(WindowMenuAction::startMove);
        const Point start = frameOf(notes).origin();
        key(kLeft);
        EXPECT_EQ(key(end), TapAnswer::swallow);
        EXPECT_FALSE(moving());
        EXPECT_EQ(frameOf(notes).origin(), (Point{start.x - 25, start.y}));
        sim.screens.movePointer({10, 10});
        EXPECT_EQ(frameOf(notes).origin(), (Point{start.x - 25, start.y}));
    }
}

TEST_F(WindowMenuTest, OtherKeysAndClicksEndTheMoveAndReachTheApplication) {
    const uint32_t notes =
        sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    choose(WindowMenuAction::startMove);
    key(kDown);
    EXPECT_EQ(key(kA), TapAnswer::pass); // the letter goes on to the application
    EXPECT_FALSE(moving());
    EXPECT_EQ(frameOf(notes).origin(), (Point{100, 125}));
    EXPECT_EQ(key(kDown), TapAnswer::pass);

    choose(WindowMenuAction::startMove);
    TapEvent click;
    click.type = eventtype::leftMouseDown;
    EXPECT_EQ(dispatch.handle(click), TapAnswer::swallow);
    sim.mainQueue.drain();
    EXPECT_FALSE(moving());

    // Opening the menu again ends a move in progress and unhooks the pointer.
    choose(WindowMenuAction::startMove);
    key(kUp);
    ASSERT_TRUE(menu.isFollowingPointer());
    choose(std::nullopt);
    EXPECT_FALSE(moving());
    EXPECT_FALSE(menu.isFollowingPointer());
    const Point kept = frameOf(notes).origin();
    sim.screens.movePointer({5, 5});
    EXPECT_EQ(frameOf(notes).origin(), kept);
}

TEST_F(WindowMenuTest, MoveOnAFullScreenWindowLeavesFullScreenFirst) {
    const uint32_t notes = sim.app("com.apple.TextEdit", "TextEdit")
                               .frontmost()
                               .window("Notes", {100, 100, 600, 400})
                               .fullscreen();
    presenter.choice = WindowMenuAction::startMove;
    menu.show();
    EXPECT_FALSE(moving()); // waits for the window to come out
    sim.mainQueue.advance(3.0);
    EXPECT_FALSE(sim.windows.window(notes)->fullscreen);
    ASSERT_TRUE(moving());
    EXPECT_EQ(menu.moveOrigin(), frameOf(notes).origin());
    key(kRight);
    EXPECT_EQ(frameOf(notes).x, menu.moveOrigin()->x + 25);
}

TEST_F(WindowMenuTest, FullScreenSidesTileTheWindowAndLeaveTheSplitAgain) {
    const uint32_t notes =
        sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {100, 100, 600, 400});
    choose(WindowMenuAction::fullScreenLeft);
    ASSERT_TRUE(sim.windows.window(notes)->fullscreen);
    choose(std::nullopt);
    EXPECT_EQ(presenter.checkedTitles(), QStringList{"Full Screen — Left of Screen"});

    // Chosen again while tiled on that side: the split is left.
    choose(WindowMenuAction::fullScreenLeft);
    EXPECT_FALSE(sim.windows.window(notes)->fullscreen);

    // From full screen to the right side: out of full screen first, then tiled.
    choose(WindowMenuAction::fullScreen);
    ASSERT_TRUE(sim.windows.window(notes)->fullscreen);
    choose(WindowMenuAction::fullScreenRight);
    sim.mainQueue.advance(2.0);
    choose(std::nullopt);
    EXPECT_EQ(presenter.checkedTitles(), QStringList{"Full Screen — Right of Screen"});
}

TEST_F(WindowMenuTest, MinimizeAndCloseActOnTheFrontWindow) {
    auto editor = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    const uint32_t plan = editor.window("Plan", {300, 100, 600, 400});
    const uint32_t notes = editor.window("Notes", {100, 100, 600, 400});
    choose(WindowMenuAction::close);
    EXPECT_FALSE(sim.windows.window(notes).has_value());
    EXPECT_TRUE(sim.workspace.app(editor).has_value()); // another window is left
    choose(WindowMenuAction::minimize);
    EXPECT_TRUE(sim.windows.window(plan)->minimized);
}
