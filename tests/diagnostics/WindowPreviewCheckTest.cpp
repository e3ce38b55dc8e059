#include "core/diagnostics/WindowPreviewCheck.h"
#include "app/Modes.h"
#include "core/windows/WindowModel.h"
#include "platform/sim/SimSession.h"

#include <QColor>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Readable failures for the printed lines.
QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}
QT_END_NAMESPACE

using namespace fenwold;

namespace {

constexpr double kStep = 0.05;
constexpr double kLimit = 30;

QImage solid(QColor color) {
    QImage image(320, 200, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    return image;
}

QString line(const char* format, uint32_t id) {
    return QString::fromLatin1(format).arg(id);
}

// Lets background captures run and moves the virtual clock until `done` holds or time is up.
void pump(SimSession& sim, const std::function<bool()>& done) {
    for (double t = 0; !done() && t < kLimit; t += kStep) {
        sim.background.runAll();
        sim.mainQueue.advance(kStep);
    }
}

class PreviewCheck : public ::testing::Test {
protected:
    struct Result {
        std::optional<int> status;
        bool endedAtOnce = false; // finished inside start, before any waiting
        QStringList lines;
    };

    Result run(WindowPreviewCheck::Request request) {
        model.emplace(platform);
        model->store.start();
        Result r;
        QString text;
        QTextStream out(&text);
        WindowPreviewCheck check(platform, *model, out, [&](int status) { r.status = status; });
        check.start(request);
        r.endedAtOnce = r.status.has_value();
        pump(sim, [&] { return r.status.has_value(); });
        out.flush();
        r.lines = text.split('\n', Qt::SkipEmptyParts);
        return r;
    }

    static WindowPreviewCheck::Request request(uint32_t target, std::optional<uint32_t> from = std::nullopt,
                                               std::optional<QString> output = std::nullopt) {
        return {target, from, false, std::move(output)};
    }

    bool isFrontWindow(uint32_t number) {
        const auto w = sim.windows.window(number);
        const auto front = sim.workspace.frontmostApp();
        return w && front && front->pid == w->pid && sim.windows.stacking().front() == number;
    }

    SimSession sim;
    Platform platform = sim.platform();
    std::optional<WindowModel> model;
};

TEST_F(PreviewCheck, AWindowTheSwitcherDoesNotListFailsAtOnce) {
    auto notes = sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    // A small palette is a window of the application, but not one the switcher offers.
    const uint32_t palette =
        notes.window("Colors", {900, 60, 90, 80}).subrole(QStringLiteral("AXFloatingWindow"));
    for (uint32_t id : {999u, palette}) {
        const auto r = run(request(id));
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.endedAtOnce);
        EXPECT_EQ(r.lines, QStringList{line("FAIL: window %1 is missing from the switcher", id)});
    }
}

TEST_F(PreviewCheck, ASourceThatIsTheTargetUnknownOrMistypedIsRefusedBeforeAnythingMoves) {
    auto edit = sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    const uint32_t notes = edit.window("Notes", {80, 60, 800, 600});
    const uint32_t other = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700}).onSpace(2);
    sim.windows.raise(notes);
    sim.workspace.activate(edit);
    WindowPreviewCheck::Request mistyped = request(other);
    mistyped.fromWindowInvalid = true;
    for (const auto& req : {request(other, other), request(other, 4242), mistyped}) {
        const auto r = run(req);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.endedAtOnce);
        EXPECT_EQ(r.lines, QStringList{"FAIL: --from-window requires a different existing window id"});
        EXPECT_TRUE(isFrontWindow(notes));
        EXPECT_EQ(sim.windows.currentSpace(), 1);
    }
}

TEST_F(PreviewCheck, AWindowWithNothingToSwitchToAsksForASource) {
    const uint32_t only = sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600});
    sim.app("com.apple.mail", "Mail").window("Draft", {0, 0, 600, 400}).minimized();
    const auto r = run(request(only));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.endedAtOnce);
    EXPECT_EQ(r.lines, QStringList{"FAIL: no other window to switch away to; name one with --from-window"});
}

TEST_F(PreviewCheck, LeavingTheTargetsSpaceForTheNamedSourcePassesAndWritesThePreview) {
    auto edit = sim.app("com.apple.TextEdit", "TextEdit");
    const uint32_t target = edit.window("Notes", {80, 60, 800, 600});
    const uint32_t source = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700}).onSpace(2);
    sim.windows.raise(target);
    sim.workspace.activate(edit);
    QTemporaryDir dir;
    const QString png = dir.filePath("preview.png");

    const auto r = run(request(target, source, png));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, (QStringList{
                           line("PASS: switched away to window %1", source),
                           line("PASS: window %1 is on an inactive Space", target),
                           "PASS: preview written to " + png,
                           line("PASS: preview of window %1 shows visible detail", target),
                       }));
    EXPECT_TRUE(isFrontWindow(source));
    EXPECT_EQ(sim.windows.currentSpace(), 2);
    const QImage written(png);
    ASSERT_FALSE(written.isNull());
    EXPECT_TRUE(WindowCapture::hasVisibleContent(written, true));
}

TEST_F(PreviewCheck, WithoutASourceAWindowOnTheCurrentSpaceIsChosen) {
    auto mail = sim.app("com.apple.mail", "Mail");
    const uint32_t minimised = mail.window("Draft", {0, 0, 600, 400}).minimized();
    const uint32_t inbox = mail.window("Inbox", {40, 40, 900, 600});
    const uint32_t target =
        sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600}).onSpace(3);
    const auto r = run(request(target));
    EXPECT_EQ(r.status, 0);
    ASSERT_FALSE(r.lines.isEmpty());
    EXPECT_EQ(r.lines.front(), line("PASS: switched away to window %1", inbox));
    EXPECT_TRUE(isFrontWindow(inbox));
    EXPECT_TRUE(sim.windows.window(minimised)->minimized);
}

TEST_F(PreviewCheck, ATargetStillShownOrOffScreenForAnotherReasonIsNotOnAnInactiveSpace) {
    auto edit = sim.app("com.apple.TextEdit", "TextEdit");
    const uint32_t beside = edit.window("Notes", {80, 60, 800, 600});
    const uint32_t minimised = edit.window("Old", {80, 60, 800, 600}).minimized();
    auto preview = sim.app("com.apple.Preview", "Preview");
    const uint32_t ofHidden = preview.window("Scan", {100, 100, 500, 500});
    preview.hidden();
    const uint32_t source = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700});
    for (uint32_t target : {beside, minimised, ofHidden}) {
        const auto r = run(request(target, source));
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.lines, (QStringList{
                               line("PASS: switched away to window %1", source),
                               "FAIL: target must be on an inactive Space before checking its preview",
                           }));
    }
}

TEST_F(PreviewCheck, ASourceThatNeverBecomesActiveIsReported) {
    auto edit = sim.app("com.apple.TextEdit", "TextEdit");
    const uint32_t target = edit.window("Notes", {80, 60, 800, 600});
    // The application takes the request and its window comes forward, but the application
    // itself never becomes the active one.
    auto stubborn = sim.app("com.example.Stubborn", "Stubborn").neverActivates();
    const uint32_t source = stubborn.window("Main", {0, 0, 900, 700}).onSpace(2);
    sim.windows.raise(target);
    sim.workspace.activate(edit);
    const auto r = run(request(target, source));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines, QStringList{line("FAIL: could not switch to source window %1", source)});
}

TEST_F(PreviewCheck, ABlankPreviewFailsAndNothingIsWritten) {
    const uint32_t target = sim.app("com.apple.TextEdit", "TextEdit")
                                .window("Notes", {80, 60, 800, 600})
                                .onSpace(2)
                                .image(solid(Qt::white));
    const uint32_t source = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700});
    QTemporaryDir dir;
    const QString png = dir.filePath("preview.png");
    const auto r = run(request(target, source, png));
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines, (QStringList{
                           line("PASS: switched away to window %1", source),
                           line("PASS: window %1 is on an inactive Space", target),
                           line("FAIL: preview of window %1 shows no visible detail", target),
                       }));
    EXPECT_FALSE(QFile::exists(png));
}

TEST_F(PreviewCheck, AnUnwritableOutputFails) {
    const uint32_t target =
        sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600}).onSpace(2);
    const uint32_t source = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700});
    QTemporaryDir dir;
    const QString png = dir.filePath("missing-folder/preview.png");
    const auto r = run(request(target, source, png));
    EXPECT_EQ(r.status, 1);
    ASSERT_FALSE(r.lines.isEmpty());
    EXPECT_EQ(r.lines.back(), "FAIL: could not write the preview to " + png);
}

class FullscreenPreviewCheck : public PreviewCheck {
protected:
    void SetUp() override {
        source = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700});
        auto app = sim.app("com.example.Player", "Player");
        player = app;
        // Off its Space the window shows nothing to a capture; only what was kept while it
        // was on screen can show it.
        video = app.window("Movie", {100, 100, 640, 360}).captureImage(solid(Qt::black)).fullscreen();
        sim.workspace.activate(player);
    }
    QStringList passingLines() const {
        return {
            line("PASS: switched away to window %1", source),
            line("PASS: window %1 is on an inactive Space", video),
            line("PASS: preview of window %1 shows visible detail", video),
            line("PASS: switched back to window %1", video),
        };
    }
    int32_t player = 0;
    uint32_t source = 0;
    uint32_t video = 0;
};

TEST_F(FullscreenPreviewCheck, AVideoLeftAndActivatedAgainStaysInFullScreen) {
    const auto r = run(request(video, source));
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.lines, passingLines() << line("PASS: window %1 stayed in full screen", video));
    EXPECT_TRUE(sim.windows.window(video)->fullscreen);
    EXPECT_TRUE(isFrontWindow(video));
}

TEST_F(FullscreenPreviewCheck, AVideoThatDropsFullScreenWhenActivatedFails) {
    bool leftOnce = false;
    Subscription drops = sim.workspace.observe([&](const WorkspaceEvent& e) {
        // The player leaves full screen a moment after it is brought back.
        if (e.kind != WorkspaceEvent::Kind::activated || e.pid != player || leftOnce) return;
        leftOnce = true;
        sim.mainQueue.after(0.8,
                            [&] { sim.windows.update(video, [](SimWindow& w) { w.fullscreen = false; }); });
    });
    const auto r = run(request(video, source));
    EXPECT_TRUE(leftOnce);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.lines, passingLines() << line("FAIL: window %1 left full screen when activated", video));
}

TEST_F(FullscreenPreviewCheck, AVideoNotActiveAtTheStartIsRefused) {
    sim.windows.raise(source);
    sim.workspace.activate(sim.windows.window(source)->pid);
    const auto r = run(request(video, source));
    EXPECT_EQ(r.status, 1);
    EXPECT_TRUE(r.endedAtOnce);
    EXPECT_EQ(r.lines, QStringList{"FAIL: start with the target video window active in fullscreen"});
}

// Runs the mode through the command line, pumping background captures while it waits.
class PumpingLoop final : public ModeLoop {
public:
    explicit PumpingLoop(SimSession& sim) : sim_(sim) {}
    int run() override {
        pump(sim_, [this] { return status_.has_value(); });
        return status_.value_or(-1);
    }
    void quit(int status) override { status_ = status; }

private:
    SimSession& sim_;
    std::optional<int> status_;
};

TEST(VerifyWindowMode, RunsTheCheckFromTheCommandLine) {
    SimSession sim;
    const uint32_t target =
        sim.app("com.apple.TextEdit", "TextEdit").window("Notes", {80, 60, 800, 600}).onSpace(2);
    const uint32_t source = sim.app("com.apple.Safari", "Safari").window("Docs", {0, 0, 900, 700});
    Platform platform = sim.platform();
    auto runMode = [&](const QStringList& args, QString& text) {
        QTextStream out(&text);
        PumpingLoop loop(sim);
        const auto status = runDiagnosticMode(parseMode(args), platform, out, &loop);
        out.flush();
        return status;
    };

    QString passed;
    EXPECT_EQ(runMode({"fenwold", "--verify-window", QString::number(target), "--from-window",
                       QString::number(source)},
                      passed),
              0);
    EXPECT_TRUE(passed.startsWith(line("PASS: switched away to window %1\n", source)))
        << passed.toStdString();
    EXPECT_TRUE(passed.endsWith(line("PASS: preview of window %1 shows visible detail\n", target)));

    QString missing;
    EXPECT_EQ(runMode({"fenwold", "--verify-window", "+77"}, missing), 1);
    EXPECT_EQ(missing, "FAIL: window 77 is missing from the switcher\n");
}

} // namespace
