#include "app/Modes.h"
#include "platform/sim/SimSession.h"

#include <gtest/gtest.h>

using namespace fenwold;

namespace {
struct ModeRun {
    std::optional<int> status;
    QString output;
};

ModeRun run(SimSession& sim, QStringList args) {
    args.prepend("fenwold");
    ModeRun r;
    QTextStream out(&r.output);
    Platform platform = sim.platform();
    r.status = runDiagnosticMode(parseMode(args), platform, out);
    out.flush();
    return r;
}
} // namespace

TEST(DiagnosticModes, TccReportsBothPermissionsExactlyAndRunsAlone) {
    SimSession sim;
    sim.accessibility.setTrusted(false);
    auto r = run(sim, {"--dump", "--tcc"});
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.output, "accessibility:    false\nscreenRecording:  true\n");

    sim.accessibility.setTrusted(true);
    sim.windowServer.setScreenRecording(false);
    EXPECT_EQ(run(sim, {"--tcc"}).output, "accessibility:    true\nscreenRecording:  false\n");
}

TEST(DiagnosticModes, SelfcheckPrintsModuleLinesInOrder) {
    SimSession sim;
    auto r = run(sim, {"--selfcheck"});
    EXPECT_EQ(r.status, 0);
    const QStringList lines = r.output.split('\n', Qt::SkipEmptyParts);
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "Prefs selfcheck OK");
    EXPECT_EQ(lines[1], "AltF4Action selfcheck OK");
    // The user's preferences are untouched by the checks.
    EXPECT_TRUE(std::holds_alternative<std::monostate>(sim.prefs.read(PrefKey::winV)));

    EXPECT_EQ(run(sim, {"--alt-f4-selfcheck"}).output, "AltF4Action selfcheck OK\n");
}

TEST(DiagnosticModes, WithoutAModeSwitchTheNormalStartRuns) {
    SimSession sim;
    EXPECT_EQ(run(sim, {}).status, std::nullopt);
    EXPECT_EQ(run(sim, {"--verify-window"}).status, std::nullopt);
}
