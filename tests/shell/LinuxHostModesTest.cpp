// The program's diagnostic modes on the Linux host: the standard desktop of simulated
// applications on the real clock, with Qt's event loop, worker threads and thread pool.
#include "app/Modes.h"
#include "app/SimHost.h"

#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

std::optional<uint32_t> windowTitled(SimSession& sim, const QString& title) {
    for (uint32_t id : sim.windows.stacking())
        if (sim.windows.window(id)->title == title) return id;
    return std::nullopt;
}

struct ModeRun {
    std::optional<int> status;
    QStringList lines;
};

ModeRun run(SimHost& host, QStringList args) {
    args.prepend("fenwold");
    Platform platform = host.platform();
    QString text;
    QTextStream out(&text);
    ModeRun r;
    r.status = runDiagnosticMode(parseMode(args), platform, out);
    out.flush();
    r.lines = text.split('\n', Qt::SkipEmptyParts);
    return r;
}

} // namespace

TEST(LinuxHostModes, DumpListsTheStandardDesktop) {
    SimHost host;
    host.openStandardDesktop();
    const auto r = run(host, {"--dump"});
    EXPECT_EQ(r.status, 0);
    const QString text = r.lines.join('\n');
    EXPECT_TRUE(text.contains(
        QRegularExpression("^TextEdit pid=\\d+ err=0 wins=2$", QRegularExpression::MultilineOption)))
        << text.toStdString();
    EXPECT_TRUE(text.contains("'Notes'"));
    EXPECT_TRUE(text.contains("'sunset.png'"));
    EXPECT_TRUE(text.contains("--- frontmostWindow: pid="));
}

TEST(LinuxHostModes, ThePreviewCheckRunsToItsEndOnTheRealClock) {
    SimHost host;
    host.openStandardDesktop();
    SimSession& sim = host.session();
    const auto notes = windowTitled(sim, "Notes");
    const auto list = windowTitled(sim, "Shopping list");
    ASSERT_TRUE(notes && list);
    sim.windows.update(*notes, [](SimWindow& w) { w.space = 2; });
    sim.windows.switchToSpace(2);
    QTemporaryDir dir;
    const QString png = dir.filePath("notes.png");

    const auto r = run(host, {"--verify-window", QString::number(*notes), "--from-window",
                              QString::number(*list), "--preview-output", png});
    EXPECT_EQ(r.status, 0) << r.lines.join('\n').toStdString();
    EXPECT_EQ(r.lines, (QStringList{
                           QStringLiteral("PASS: switched away to window %1").arg(*list),
                           QStringLiteral("PASS: window %1 is on an inactive Space").arg(*notes),
                           "PASS: preview written to " + png,
                           QStringLiteral("PASS: preview of window %1 shows visible detail").arg(*notes),
                       }));
    EXPECT_EQ(sim.windows.currentSpace(), 1);
    EXPECT_FALSE(QImage(png).isNull());
}
