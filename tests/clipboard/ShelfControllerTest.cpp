// The shelf controller: opening, closing, the key table and pasting back, with a recording panel.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardShelfController.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/input/Inject.h"
#include "platform/sim/SimSession.h"
#include "ports/KeyCodes.h"

#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

struct RecordingSearchField final : ShelfSearchField {
    QStringList calls;
    void focus(bool selectAll) override { calls << (selectAll ? "focus all" : "focus end"); }
    void deliver(const ShelfKeyEvent& e) override { calls << "type " + e.characters; }
    void perform(SearchEdit edit) override { calls << QString("edit %1").arg(static_cast<int>(edit)); }
};

struct RecordingPanel final : ShelfPanel {
    QStringList calls;
    Rect frame;
    double alpha = 0;
    bool key = false;
    bool onScreen = false;
    bool editing = false;
    std::function<bool(const ShelfKeyEvent&)> keys;
    std::function<void(bool)> clicks;
    std::vector<std::function<void()>> completions;

    void place(const Rect& f, double a) override {
        frame = f;
        alpha = a;
        calls << QString("place %1,%2 %3x%4 a=%5").arg(f.x).arg(f.y).arg(f.width).arg(f.height).arg(a);
    }
    void animate(const Rect& f, double a, double seconds, bool easeOut, std::function<void()> done) override {
        frame = f;
        alpha = a;
        calls << QString("animate %1,%2 a=%3 %4s %5")
                     .arg(f.x)
                     .arg(f.y)
                     .arg(a)
                     .arg(seconds)
                     .arg(easeOut ? "out" : "in");
        completions.push_back(std::move(done));
    }
    void makeKeyAndOrderFront() override {
        key = onScreen = true;
        calls << "front";
    }
    void resignKey() override { key = false; }
    void orderOut() override {
        onScreen = false;
        calls << "orderOut";
    }
    bool isKeyWindow() const override { return key; }
    void clearFirstResponder() override { editing = false; }
    bool editingText() const override { return editing; }
    Subscription monitorKeys(std::function<bool(const ShelfKeyEvent&)> handler) override {
        keys = std::move(handler);
        return Subscription([this] { keys = nullptr; });
    }
    Subscription monitorClicks(std::function<void(bool)> handler) override {
        clicks = std::move(handler);
        return Subscription([this] { clicks = nullptr; });
    }
    void finishAnimations() {
        auto pending = std::move(completions);
        completions.clear();
        for (auto& done : pending)
            done();
    }
};

class ShelfControllerTest : public ::testing::Test {
protected:
    SimSession sim;
    int32_t textEdit = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    ClipboardStore store{std::nullopt, sim.pasteboard, [] { return true; },
                         ClipboardStoreServices{&sim.mainQueue, &sim.worker,
                                                [this] { return sim.workspace.frontmostApp(); }, &sim.clock,
                                                std::nullopt}};
    Inject inject{sim.keys, sim.workspace, sim.log};
    InjectPaste paste{inject};
    RecordingPanel* panel = nullptr;
    RecordingSearchField field;
    ShelfViewContext context;
    std::unique_ptr<ClipboardShelfController> shelf;
    std::vector<bool> visibility;

    void SetUp() override {
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::winV, true);
        sim.keys.onDeliver = nullptr;
        shelf = std::make_unique<ClipboardShelfController>(
            store, ShelfServices{&sim.mainQueue, &sim.workspace, &sim.screens, &paste, &sim.prefs},
            [this](const ShelfViewContext& c) {
                context = c;
                auto p = std::make_unique<RecordingPanel>();
                panel = p.get();
                return p;
            });
        context.registerSearch(&field);
        shelf->onVisibilityChange = [this](bool open) { visibility.push_back(open); };
        for (const char* t : {"oldest", "middle", "newest"})
            store.insert(textEntry(t));
    }

    bool press(uint16_t key, uint64_t flags = 0, QString characters = {}, bool repeat = false) {
        return shelf->handle(ShelfKeyEvent{key, flags, characters, repeat});
    }
    QString selectedText() const {
        return shelf->model().selected() ? shelf->model().selected()->text() : "<none>";
    }
    std::vector<PostedKey> pastes() const { return sim.keys.posted(); }
    void openShelf() {
        shelf->show();
        sim.mainQueue.drain();
    }
};

const std::vector<PostedKey> commandV(int32_t pid) {
    return {PostedKey{kV, true, flag::command, pid}, PostedKey{kV, false, flag::command, pid}};
}

TEST_F(ShelfControllerTest, OpensAboveTheDockCentredAndSlidesUp) {
    // The sim's screen: 1440×900, menu bar 25, Dock 70 → visible frame 0,70 1440×805.
    openShelf();
    EXPECT_TRUE(shelf->isOpen());
    EXPECT_EQ(shelf->target()->pid, textEdit);
    EXPECT_EQ(visibility, std::vector<bool>{true});
    const Rect f = shelf->frame();
    EXPECT_EQ(f, (Rect{190, 86, 1060, 354}));
    EXPECT_EQ(panel->calls.mid(0, 3),
              QStringList({"place 190,54 1060x354 a=0", "front", "animate 190,86 a=1 0.2s out"}));
    EXPECT_TRUE(panel->keys);
    EXPECT_TRUE(panel->clicks);
    EXPECT_EQ(selectedText(), "newest");

    // A narrow screen bounds the width, a short one the height.
    shelf->hide();
    sim.screens.setScreens({ScreenInfo{{0, 0, 800, 300}, {0, 0, 800, 300}}});
    sim.screens.movePointer({10, 10});
    openShelf();
    EXPECT_EQ(shelf->frame(), (Rect{16, 16, 768, 268}));
}

TEST_F(ShelfControllerTest, OpeningResetsTheModelAndPollsTheStore) {
    openShelf();
    shelf->model().setQuery("mid");
    shelf->model().setFilter(ClipboardFilter::code);
    press(kSpace); // no selection in an empty list: nothing to inspect
    shelf->hide();
    sim.pasteboard.copyText("copied a moment ago");
    shelf->show();
    sim.worker.runAll();
    sim.mainQueue.drain();
    EXPECT_EQ(shelf->model().query(), "");
    EXPECT_EQ(shelf->model().filter(), ClipboardFilter::all);
    EXPECT_FALSE(shelf->model().inspecting());
    EXPECT_EQ(store.entries().front().text(), "copied a moment ago");
}

TEST_F(ShelfControllerTest, OwnProgramInFrontLeavesNoTargetSoReturnOnlyCopies) {
    sim.appWithPid(sim.workspace.ownPid(), "org.fenwold.Fenwold", "Fenwold").frontmost();
    openShelf();
    EXPECT_FALSE(shelf->target());
    EXPECT_TRUE(press(kReturn));
    EXPECT_FALSE(shelf->isOpen());
    sim.mainQueue.advance(1);
    EXPECT_TRUE(pastes().empty());
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("newest")});
}

TEST_F(ShelfControllerTest, ReturnPastesIntoTheTargetAfterTheDelay) {
    openShelf();
    const long before = sim.pasteboard.changeCount();
    const uint64_t generation = store.generation();
    EXPECT_TRUE(press(kDown)); // Down
    EXPECT_TRUE(press(kReturn));
    EXPECT_FALSE(shelf->isOpen());
    EXPECT_GT(store.generation(), generation);
    EXPECT_EQ(store.lastChange(), sim.pasteboard.changeCount());
    EXPECT_GT(sim.pasteboard.changeCount(), before);
    sim.mainQueue.advance(0.05);
    EXPECT_TRUE(pastes().empty());
    sim.mainQueue.advance(0.011);
    EXPECT_EQ(pastes(), commandV(textEdit));
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("middle")});
    // The write is not captured as a new clip.
    sim.mainQueue.advance(1);
    sim.worker.runAll();
    EXPECT_EQ(store.entries().size(), 3u);
}

TEST_F(ShelfControllerTest, NoPasteWhenTheTargetIsGoneOrNoLongerInFront) {
    openShelf();
    press(kReturn);
    sim.workspace.quit(textEdit);
    sim.mainQueue.advance(0.1);
    EXPECT_TRUE(pastes().empty());

    const int32_t safari = sim.app("com.apple.Safari", "Safari").frontmost();
    openShelf();
    press(kReturn);
    sim.app("com.apple.Mail", "Mail").frontmost();
    sim.mainQueue.advance(0.1);
    EXPECT_TRUE(pastes().empty());
    (void)safari;
}

TEST_F(ShelfControllerTest, ReturnFromTheProgramItselfReactivatesTheTarget) {
    openShelf();
    sim.appWithPid(sim.workspace.ownPid(), "org.fenwold.Fenwold", "Fenwold").frontmost();
    press(kReturn);
    EXPECT_EQ(sim.workspace.frontmostApp()->pid, textEdit);
    sim.mainQueue.advance(0.1);
    EXPECT_EQ(pastes(), commandV(textEdit));
}

TEST_F(ShelfControllerTest, ModifiedReturnsPastePlainOrOnlyCopy) {
    store.insert(ClipboardEntry(savedClip(ClipPayload{{PasteboardItem{
                                    {{ClipTypes::string, "rich"}, {ClipTypes::html, "<b>rich</b>"}}}}}),
                                false));
    openShelf();
    press(kReturn, flag::shift);
    sim.mainQueue.advance(0.1);
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("rich")});
    EXPECT_EQ(pastes(), commandV(textEdit));

    sim.keys.clear();
    openShelf();
    press(kReturn, flag::command);
    sim.mainQueue.advance(0.1);
    EXPECT_EQ(sim.pasteboard.contents()[0].types.size(), 2u);
    EXPECT_TRUE(pastes().empty());

    // Shift+Return on an image pastes the image itself.
    const ClipPayload image{{PasteboardItem{{{ClipTypes::png, pngBytes(2, 2)}}}}};
    store.insert(ClipboardEntry(savedClip(image), false));
    openShelf();
    press(kReturn, flag::shift);
    EXPECT_EQ(sim.pasteboard.contents(), image.items);
}

TEST_F(ShelfControllerTest, AFailedWriteKeepsTheShelfOpenWithAMessage) {
    openShelf();
    sim.pasteboard.setWritesFail(true);
    press(kReturn);
    EXPECT_TRUE(shelf->isOpen());
    EXPECT_EQ(store.message(), ClipboardShelfController::copyFailedMessage);
    sim.mainQueue.advance(0.1);
    EXPECT_TRUE(pastes().empty());
}

TEST_F(ShelfControllerTest, EscapeClosesInspectorThenSearchThenShelf) {
    openShelf();
    EXPECT_TRUE(press(kSpace, 0, " "));
    EXPECT_TRUE(shelf->model().inspecting());
    EXPECT_EQ(panel->frame, (Rect{190, 86, 1060, 624}));
    press(kEsc);
    EXPECT_FALSE(shelf->model().inspecting());
    EXPECT_EQ(panel->frame, (Rect{190, 86, 1060, 354}));
    EXPECT_TRUE(shelf->isOpen());

    shelf->model().setQuery("mid");
    shelf->model().setSearchFocused(true);
    press(kEsc);
    EXPECT_EQ(shelf->model().query(), "");
    EXPECT_FALSE(shelf->model().searchFocused());
    EXPECT_TRUE(shelf->isOpen());
    press(kEsc);
    EXPECT_FALSE(shelf->isOpen());
    EXPECT_EQ(visibility, (std::vector<bool>{true, false}));
    EXPECT_FALSE(panel->keys);
}

TEST_F(ShelfControllerTest, ArrowsMoveAndLeftRightOnlyOutsideTheSearchFieldsText) {
    openShelf();
    EXPECT_TRUE(press(kRight));
    EXPECT_EQ(selectedText(), "middle");
    EXPECT_TRUE(press(kUp, flag::shift));
    EXPECT_EQ(selectedText(), "newest");
    EXPECT_TRUE(press(kDown, flag::command));
    EXPECT_EQ(selectedText(), "middle");
    EXPECT_FALSE(press(kRight, flag::shift));

    // In the search field with text, ←/→ move through it; Space is typed.
    shelf->focusSearch(std::nullopt);
    panel->editing = true;
    shelf->model().setQuery("e");
    EXPECT_FALSE(press(kRight));
    EXPECT_FALSE(press(kSpace, 0, " "));
    // Cleared, still focused: the field has nothing to move through, the arrows move the selection.
    shelf->model().setQuery("");
    shelf->model().setSearchFocused(true);
    EXPECT_TRUE(press(kLeft));
    EXPECT_EQ(selectedText(), "newest");
    EXPECT_TRUE(press(kRight));
    EXPECT_EQ(selectedText(), "middle");
    EXPECT_TRUE(press(kDown));
    EXPECT_EQ(selectedText(), "oldest");
    EXPECT_FALSE(shelf->model().searchFocused());
}

TEST_F(ShelfControllerTest, WinVClosesUnlessRepeatingAndFollowsTheSwap) {
    openShelf();
    EXPECT_TRUE(press(kV, flag::command, "v", true));
    EXPECT_TRUE(shelf->isOpen());
    EXPECT_TRUE(press(kV, flag::command, "v"));
    EXPECT_FALSE(shelf->isOpen());

    Prefs(sim.prefs).set(PrefKey::swapCtrlCmd, true);
    openShelf();
    EXPECT_FALSE(press(kV, flag::command, "v")); // passed on when not editing
    EXPECT_TRUE(shelf->isOpen());
    EXPECT_TRUE(press(kV, flag::control, "v"));
    EXPECT_FALSE(shelf->isOpen());

    Prefs(sim.prefs).set(PrefKey::swapCtrlCmd, false);
    Prefs(sim.prefs).set(PrefKey::winV, false);
    openShelf();
    EXPECT_FALSE(press(kV, flag::command, "v"));
    EXPECT_TRUE(shelf->isOpen());
}

TEST_F(ShelfControllerTest, ControlEditingKeysWorkInTheSearchField) {
    openShelf();
    EXPECT_FALSE(press(kA, flag::control, "a")); // not editing: passed on
    shelf->focusSearch(std::nullopt);
    panel->editing = true;
    field.calls.clear();
    for (uint16_t key : {kA, kX, kC, kV})
        EXPECT_TRUE(press(key, flag::control));
    EXPECT_EQ(field.calls, QStringList({"edit 0", "edit 1", "edit 2", "edit 3"}));
    EXPECT_FALSE(press(kC, flag::command, "c")); // Command+C copies the field's selection natively
    EXPECT_TRUE(shelf->isOpen());
}

TEST_F(ShelfControllerTest, CommandShortcutsSearchPinCopyAndPickByNumber) {
    openShelf();
    EXPECT_TRUE(press(kF, flag::command));
    EXPECT_EQ(field.calls, QStringList{"focus all"});
    EXPECT_TRUE(shelf->model().searchFocused());
    shelf->model().setSearchFocused(false);

    EXPECT_TRUE(press(kP, flag::control));
    EXPECT_TRUE(store.entries().front().pinned);

    EXPECT_TRUE(press(kC, flag::command));
    EXPECT_FALSE(shelf->isOpen());
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("newest")});
    sim.mainQueue.advance(0.1);
    EXPECT_TRUE(pastes().empty());

    openShelf();
    EXPECT_FALSE(press(k5, flag::command, "5")); // ⌘5 with three clips: passed on
    EXPECT_TRUE(shelf->isOpen());
    EXPECT_FALSE(press(k1, flag::command | flag::shift, "1"));
    EXPECT_TRUE(press(k3, flag::command, "3"));
    EXPECT_FALSE(shelf->isOpen());
    sim.mainQueue.advance(0.1);
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("oldest")});
    EXPECT_EQ(pastes(), commandV(textEdit));
}

TEST_F(ShelfControllerTest, TypingALetterStartsASearch) {
    openShelf();
    EXPECT_TRUE(press(kH, 0, "h"));
    EXPECT_EQ(field.calls, QStringList({"focus end", "type h"}));
    EXPECT_TRUE(shelf->model().searchFocused());
    field.calls.clear();
    panel->editing = true;
    EXPECT_FALSE(press(kI, 0, "i")); // the field types it itself
    panel->editing = false;
    shelf->model().setSearchFocused(false);
    EXPECT_FALSE(press(kTab, 0, "\t"));
    EXPECT_FALSE(press(kDelete, 0, QString(QChar(0x7f))));
    EXPECT_FALSE(press(kF1, 0, "")); // no characters
    EXPECT_FALSE(press(kH, flag::option, "h"));
    EXPECT_TRUE(field.calls.isEmpty());
}

TEST_F(ShelfControllerTest, ReopeningDuringTheCloseAnimationKeepsThePanelAndDropsThePaste) {
    openShelf();
    press(kReturn);
    EXPECT_FALSE(shelf->isOpen());
    openShelf(); // before the close animation ends and before the paste delay
    panel->finishAnimations();
    EXPECT_TRUE(panel->onScreen);
    sim.mainQueue.advance(0.1);
    EXPECT_TRUE(pastes().empty());

    shelf->hide();
    panel->finishAnimations();
    EXPECT_FALSE(panel->onScreen);
    EXPECT_EQ(panel->calls.filter("orderOut").size(), 1);
}

TEST_F(ShelfControllerTest, ClicksElsewhereAndOtherAppsActivatingClose) {
    openShelf();
    panel->clicks(true);
    EXPECT_TRUE(shelf->isOpen());
    panel->clicks(false);
    EXPECT_FALSE(shelf->isOpen());
    openShelf();
    sim.workspace.activate(sim.workspace.ownPid()); // the program itself: stays open
    EXPECT_TRUE(shelf->isOpen());
    sim.app("com.apple.Mail", "Mail").frontmost();
    EXPECT_FALSE(shelf->isOpen());
}

TEST_F(ShelfControllerTest, ReducedMotionDoesNotMoveThePanel) {
    sim.screens.setReduceMotion(true);
    openShelf();
    EXPECT_EQ(panel->calls.mid(0, 3),
              QStringList({"place 190,86 1060x354 a=0", "front", "animate 190,86 a=1 0s out"}));
    shelf->hide();
    EXPECT_EQ(panel->calls.last(), "animate 190,86 a=0 0s in");
}

TEST_F(ShelfControllerTest, NoScreenNoShelf) {
    sim.screens.setScreens({});
    sim.screens.setMainScreenIndex(-1);
    int opened = 0;
    shelf->onOpen = [&] { ++opened; };
    shelf->show();
    EXPECT_FALSE(shelf->isOpen());
    EXPECT_EQ(opened, 1);
}

TEST_F(ShelfControllerTest, TheInspectorNeedsASelection) {
    openShelf();
    store.clearRecent();
    shelf->toggleInspector();
    EXPECT_FALSE(shelf->model().inspecting());
    context.inspect();
    EXPECT_FALSE(shelf->model().inspecting());
}

} // namespace
