// The clipboard's command-line modes: the self-check lines and the sample shelf.
#include "QtPrinters.h"
#include "app/ClipboardPreview.h"
#include "app/Modes.h"
#include "platform/sim/SimSession.h"

#include <QApplication>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

QString runMode(SimSession& sim, const QStringList& args, std::optional<int>& status) {
    QString output;
    QTextStream out(&output);
    Platform platform = sim.platform();
    status = runDiagnosticMode(parseMode(QStringList{"fenwold"} + args), platform, out);
    out.flush();
    return output;
}

const QString kLine =
    QString::fromUtf8("Clipboard selfcheck OK — classification, privacy, rich/plain/image restoration, "
                      "bounds, pins, search, navigation, capture lifecycle, persistence");

TEST(ClipboardModesTest, SelfcheckPrintsItsLineAloneAndLastInTheFullRun) {
    SimSession sim;
    std::optional<int> status;
    EXPECT_EQ(runMode(sim, {"--clipboard-selfcheck"}, status), kLine + "\n");
    EXPECT_EQ(status, 0);
    const QStringList lines = runMode(sim, {"--selfcheck"}, status).split('\n', Qt::SkipEmptyParts);
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines.last(), kLine);
    EXPECT_EQ(status, 0);
    EXPECT_TRUE(sim.pasteboard.contents().empty()); // the checks never touch the session's pasteboard
}

TEST(ClipboardModesTest, PreviewShowsTheSampleClipsWithoutCapturing) {
    SimSession sim;
    Prefs(sim.prefs).registerDefaults();
    Platform platform = sim.platform();
    StartupOptions options;
    options.clipboardPreview = true;
    options.clipboardDark = true;
    ClipboardPreview preview(platform, options);
    preview.show();
    sim.mainQueue.drain();
    QApplication::processEvents();
    EXPECT_TRUE(preview.shelf().isOpen());

    QStringList sources;
    for (const auto& e : preview.store().entries())
        sources << e.saved.source + (e.pinned ? "*" : "");
    EXPECT_EQ(sources, QStringList({"Notes", "Visual Studio Code", "Safari", "Photos", "Notes*"}));
    EXPECT_EQ(preview.store().entries()[1].kind(), ClipKind::code);
    EXPECT_EQ(preview.store().entries()[2].kind(), ClipKind::link);
    EXPECT_EQ(preview.store().entries()[3].kind(), ClipKind::image);
    EXPECT_DOUBLE_EQ(preview.store().entries()[3].saved.copiedAt, sim.clock.now() - 120);

    sim.pasteboard.copyText("not captured in the preview");
    sim.mainQueue.advance(2);
    sim.worker.runAll();
    sim.mainQueue.drain();
    EXPECT_EQ(preview.store().entries().size(), 5u);

    preview.shelf().hide();
    sim.appShell.reopen();
    EXPECT_TRUE(preview.shelf().isOpen());
}

} // namespace
