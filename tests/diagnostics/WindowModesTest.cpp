#include "app/Modes.h"
#include "platform/sim/SimSession.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// Runs a waiting mode on the simulated clock for a fixed stretch of time.
class VirtualLoop final : public ModeLoop {
public:
    VirtualLoop(VirtualMainQueue& queue, double seconds) : queue_(queue), seconds_(seconds) {}
    int run() override {
        queue_.advance(seconds_);
        return status_.value_or(0);
    }
    void quit(int status) override { status_ = status; }
    std::optional<int> status_;

private:
    VirtualMainQueue& queue_;
    double seconds_;
};

struct Run {
    std::optional<int> status;
    QString output;
    QStringList lines() const { return output.split('\n', Qt::SkipEmptyParts); }
};

Run run(SimSession& sim, QStringList args, double seconds = 0, std::function<void()> during = nullptr) {
    args.prepend("fenwold");
    Run r;
    QTextStream out(&r.output);
    Platform platform = sim.platform();
    VirtualLoop loop(sim.mainQueue, seconds);
    if (during) sim.mainQueue.after(seconds / 2, during);
    r.status = runDiagnosticMode(parseMode(args), platform, out, &loop);
    out.flush();
    return r;
}

} // namespace

TEST(WindowModes, DumpListsApplicationsWindowsTheListAndTheFrontWindow) {
    SimSession sim;
    auto notes = sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    const uint32_t min = notes.window("", {0, 0, 400, 300}).subrole(std::nullopt).minimized();
    sim.windows.raise(notes);
    auto r = run(sim, {"--dump"});
    EXPECT_EQ(r.status, 0);
    const QStringList expected = {
        "AX trusted: true",
        QString("TextEdit pid=%1 err=0 wins=2").arg(notes.pid()),
        QString("   wid=%1 subrole=AXStandardWindow min=false full=false 'Notes'").arg(notes.number()),
        QString("   wid=%1 subrole=nil min=true full=false ''").arg(min),
        "--- Windows.list() result:",
        QString("   %1 TextEdit 'Notes'").arg(notes.number()),
        QString("   %1 TextEdit 'TextEdit'").arg(min),
        QString("--- frontmostWindow: pid=%1 id=%2 app=TextEdit").arg(notes.pid()).arg(notes.number()),
        "    isFullscreen=false axFrame=(80.0, 60.0, 800.0, 600.0)",
    };
    EXPECT_EQ(r.lines(), expected);

    SimSession empty;
    empty.accessibility.setTrusted(false);
    EXPECT_EQ(run(empty, {"--dump"}).lines(),
              (QStringList{"AX trusted: false", "--- Windows.list() result:", "--- frontmostWindow: NIL"}));
}

TEST(WindowModes, MenusWalkTheWindowMenuOfEachApplication) {
    SimSession sim;
    auto edit = sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    const int32_t bare = sim.app("com.example.Bare", "Bare");
    sim.windows.setMenuStyle(bare, SimMenuStyle::none);
    auto r = run(sim, {"--menus"});
    EXPECT_EQ(r.status, 0);
    const QStringList lines = r.lines();
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines[0], QString("TextEdit pid=%1").arg(edit.pid()));
    EXPECT_EQ(lines[1], "  'Minimize'");
    EXPECT_TRUE(lines.contains("  'Move & Resize'"));
    EXPECT_TRUE(lines.contains("      'Top Left'")); // item, its menu, the items below it
    EXPECT_EQ(lines.mid(lines.size() - 2), (QStringList{QString("Bare pid=%1").arg(bare), "   no menu bar"}));

    sim.windows.setMenuItemEnabled(edit.pid(), "Minimize", false);
    EXPECT_EQ(run(sim, {"--menus", "TextEdit"}).lines()[1], "  'Minimize' [disabled]");
    EXPECT_EQ(run(sim, {"--menus", "Bare"}).lines(),
              (QStringList{QString("Bare pid=%1").arg(bare), "   no menu bar"}));
    EXPECT_TRUE(run(sim, {"--menus", "Nothing"}).output.isEmpty());
}

TEST(WindowModes, SnapPrintsTheFrameBeforeAndSixteenTicks) {
    SimSession sim;
    auto w = sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {80, 60, 800, 600});
    auto r = run(sim, {"--snap", "left", "TextEdit"}, 9);
    EXPECT_EQ(r.status, 0);
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[0], "before: (80.0, 60.0, 800.0, 600.0)");
    EXPECT_EQ(lines[1], " 0.5s (0.0, 25.0, 720.0, 805.0) full=false");
    EXPECT_EQ(lines[16], " 8.0s (0.0, 25.0, 720.0, 805.0) full=false");
    (void)w;

    auto missing = run(sim, {"--snap", "left", "Nothing"}, 1);
    EXPECT_EQ(missing.status, 1);
    EXPECT_EQ(missing.output, "no window for 'Nothing'\n");
}

TEST(WindowModes, SnapFullTogglesFullScreen) {
    SimSession sim;
    sim.app("com.apple.TextEdit", "TextEdit").frontmost().window("Notes", {80, 60, 800, 600});
    const QStringList lines = run(sim, {"--snap", "full", "TextEdit"}, 9).lines();
    ASSERT_EQ(lines.size(), 17);
    EXPECT_EQ(lines[1], " 0.5s (80.0, 60.0, 800.0, 600.0) full=false");
    EXPECT_EQ(lines[2], " 1.0s (0.0, 0.0, 1440.0, 900.0) full=true");
}

TEST(WindowModes, WatchReportsWindowsComingAndGoing) {
    SimSession sim;
    auto notes = sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    const int32_t legacy = sim.app("com.example.Legacy", "Legacy");
    sim.accessibility.setObserverError(legacy, axerr::cannotComplete);
    uint32_t added = 0;
    auto r = run(sim, {"--watch"}, 2.0, [&] {
        added = sim.windows.open(legacy, "Report", {0, 0, 400, 300});
        sim.windows.close(notes);
    });
    const QStringList expected = {
        "observers attached; no observer for: Legacy", QString("+ %1 TextEdit 'Notes'").arg(notes.number()),
        QString("+ %1 Legacy 'Report'").arg(added), QString("- %1").arg(notes.number())};
    EXPECT_EQ(r.lines(), expected);
}

TEST(WindowModes, SelfchecksOfTheWindowModel) {
    SimSession sim;
    EXPECT_EQ(run(sim, {"--window-store-selfcheck"}).output, "WindowStore selfcheck OK\n");
    EXPECT_EQ(run(sim, {"--window-capture-selfcheck"}).output, "WindowCapture selfcheck OK\n");
    const QStringList all = run(sim, {"--selfcheck"}).lines();
    EXPECT_TRUE(all.contains("Windows selfcheck OK"));
    EXPECT_LT(all.indexOf("Windows selfcheck OK"), all.indexOf("WindowStore selfcheck OK"));
    EXPECT_LT(all.indexOf("WindowStore selfcheck OK"), all.indexOf("WindowCapture selfcheck OK"));
}
