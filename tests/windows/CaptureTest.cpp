#include "WindowsFixture.h"

#include <mutex>
#include <thread>

using namespace fenwold;
using fenwold::testing::detailed;
using fenwold::testing::solid;
using fenwold::testing::WindowsTest;
using Kind = WindowCapture::Outcome::Kind;

namespace {

class Capture : public WindowsTest {
protected:
    WindowCapture& capture = model.capture;

    WindowInfo info(uint32_t number) {
        const auto w = sim.windows.window(number);
        for (const auto& i : windows.enumerate(*sim.workspace.app(w->pid)))
            if (i.id == number) return i;
        WindowInfo bare;
        bare.id = number;
        bare.pid = w->pid;
        bare.aspect = w->frame.width / w->frame.height;
        return bare;
    }
    WindowCapture::Outcome run(const WindowInfo& w, int width, bool rejectUniform) {
        std::optional<WindowCapture::Outcome> result;
        capture.capture(w, width, rejectUniform, [&](WindowCapture::Outcome o) { result = std::move(o); });
        EXPECT_TRUE(result) << "capture did not finish";
        return result.value_or(WindowCapture::Outcome{});
    }
};

QImage withOpaquePixels(int count) {
    QImage image(32, 32, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    for (int i = 0; i < count; ++i)
        image.setPixelColor(i % 32, i / 32, QColor((i * 40) % 256, 0, 0));
    return image;
}

} // namespace

TEST_F(Capture, ContentTestNeedsMoreThanFiftyOpaquePixelsAndVarietyWhenAsked) {
    EXPECT_FALSE(WindowCapture::hasVisibleContent(withOpaquePixels(50), false));
    EXPECT_TRUE(WindowCapture::hasVisibleContent(withOpaquePixels(51), false));
    EXPECT_FALSE(WindowCapture::hasVisibleContent(solid(64, 64, Qt::transparent), false));
    const QImage flat = solid(300, 200, QColor(40, 90, 200));
    EXPECT_TRUE(WindowCapture::hasVisibleContent(flat, false));
    EXPECT_FALSE(WindowCapture::hasVisibleContent(flat, true));
    EXPECT_TRUE(WindowCapture::hasVisibleContent(detailed(300, 200), true));
    // Alpha of exactly 8 does not count as opaque.
    EXPECT_FALSE(WindowCapture::hasVisibleContent(solid(32, 32, QColor(255, 255, 255, 8)), false));
}

TEST_F(Capture, FitScalesDownOnlyAndKeepsTheAspect) {
    const QImage big = detailed(400, 300);
    EXPECT_EQ(WindowCapture::fit(big, 200).size(), QSize(200, 150));
    EXPECT_EQ(WindowCapture::fit(big, 400).size(), QSize(400, 300));
    EXPECT_EQ(WindowCapture::fit(big, 800).size(), QSize(400, 300));
    EXPECT_EQ(WindowCapture::fit(big, 1).size(), QSize(400, 300));
    EXPECT_EQ(WindowCapture::fit(detailed(1000, 1), 10).size(), QSize(10, 1)); // height at least 1
}

TEST_F(Capture, OnScreenWindowsUseTheDirectImageScaledToTheWantedWidth) {
    auto w = sim.app("com.example.A", "A").window("Doc", {0, 0, 800, 600}).image(detailed(800, 600));
    auto outcome = run(info(w), 280, false);
    ASSERT_EQ(outcome.kind, Kind::captured);
    EXPECT_EQ(outcome.image.width(), 280);
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 0); // the cheap path sufficed

    // A width of 1 or less leaves the direct image at full size.
    outcome = run(info(w), 1, false);
    ASSERT_EQ(outcome.kind, Kind::captured);
    EXPECT_EQ(outcome.image.width(), 800);
}

TEST_F(Capture, AOnePixelDirectImageFallsBackToTheDesktopIndependentCapture) {
    auto w = sim.app("com.example.A", "A").window("Doc", {0, 0, 800, 400});
    sim.windows.update(w, [](SimWindow& x) {
        x.directImage = detailed(1, 400);
        x.captureImage = detailed(800, 400);
    });
    const auto outcome = run(info(w), 300, false);
    ASSERT_EQ(outcome.kind, Kind::captured);
    EXPECT_EQ(sim.windowServer.lastCaptureSize(), (std::pair<int, int>{300, 150}));
    // The capture's size never drops below 2 by 2.
    run(info(w), 0, false);
    EXPECT_EQ(sim.windowServer.lastCaptureSize(), (std::pair<int, int>{2, 2}));
}

TEST_F(Capture, BlankOnScreenWindowsAreNoContentUnlessInFullScreen) {
    auto w = sim.app("com.example.A", "A")
                 .window("Overlay", {0, 0, 800, 600})
                 .image(solid(80, 60, Qt::transparent));
    sim.windowServer.setShareableContentFails(true); // the second path cannot find it either
    EXPECT_EQ(run(info(w), 280, false).kind, Kind::noContent);

    // The second path finds it but it is just as empty.
    sim.windowServer.setShareableContentFails(false);
    EXPECT_EQ(run(info(w), 280, false).kind, Kind::noContent);

    auto full =
        sim.app("com.example.B", "B").window("Movie", {0, 0, 800, 600}).image(solid(80, 60, Qt::black));
    sim.windows.setFullscreenNow(full);
    sim.windowServer.setShareableContentFails(true);
    WindowInfo fullInfo = info(full);
    ASSERT_TRUE(fullInfo.isFullscreen);
    EXPECT_EQ(run(fullInfo, 280, false).kind, Kind::unavailable);
}

TEST_F(Capture, OffScreenWindowsAreCapturedIndependentlyAndNeverCalledBlank) {
    auto app = sim.app("com.example.A", "A");
    const uint32_t min = app.window("Minimised", {0, 0, 400, 300}).minimized();
    const uint32_t flat = app.window("Flat", {0, 0, 400, 300}).image(solid(40, 30, Qt::white)).minimized();
    EXPECT_EQ(run(info(min), 200, false).kind, Kind::captured);
    EXPECT_EQ(run(info(flat), 200, false).kind, Kind::unavailable); // uniform, but off screen
    sim.windowServer.setScreenRecording(false);
    EXPECT_EQ(run(info(min), 200, false).kind, Kind::unavailable);
}

TEST_F(Capture, UniformOpaqueImagesAreAcceptedOnlyWithoutRejectUniform) {
    auto w = sim.app("com.example.A", "A").window("Plain", {0, 0, 400, 300}).image(solid(40, 30, Qt::white));
    EXPECT_EQ(run(info(w), 200, false).kind, Kind::captured);
    EXPECT_EQ(run(info(w), 200, true).kind, Kind::noContent);
}

TEST_F(Capture, ConcurrentCapturesShareOneFetchAndTheListIsKeptThreeSeconds) {
    auto app = sim.app("com.example.A", "A");
    const uint32_t a = app.window("One", {0, 0, 400, 300}).minimized();
    const uint32_t b = app.window("Two", {0, 0, 400, 300}).minimized();
    sim.windowServer.setShareableContentDeferred(true);
    std::vector<Kind> results;
    capture.capture(info(a), 200, false, [&](WindowCapture::Outcome o) { results.push_back(o.kind); });
    capture.capture(info(b), 200, false, [&](WindowCapture::Outcome o) { results.push_back(o.kind); });
    EXPECT_TRUE(results.empty());
    sim.windowServer.completeShareableContent();
    EXPECT_EQ(results, (std::vector<Kind>{Kind::captured, Kind::captured}));
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 1);

    sim.windowServer.setShareableContentDeferred(false);
    sim.mainQueue.advance(2.9);
    run(info(a), 200, false);
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 1);
    sim.mainQueue.advance(0.2);
    run(info(a), 200, false);
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 2);
}

TEST_F(Capture, CapturesFromSeveralThreadsWaitForTheSameFetch) {
    auto app = sim.app("com.example.A", "A");
    std::vector<WindowInfo> targets;
    for (int i = 0; i < 4; ++i)
        targets.push_back(info(app.window(QString("W%1").arg(i), {0, 0, 400, 300}).minimized()));
    sim.windowServer.setShareableContentDeferred(true);
    std::mutex mutex;
    std::vector<Kind> results;
    std::vector<std::thread> threads;
    for (const WindowInfo& w : targets) {
        threads.emplace_back([&, w] {
            capture.capture(w, 200, false, [&](WindowCapture::Outcome o) {
                std::lock_guard lock(mutex);
                results.push_back(o.kind);
            });
        });
    }
    for (auto& t : threads)
        t.join();
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 1);
    std::thread answer([&] { sim.windowServer.completeShareableContent(); });
    answer.join();
    EXPECT_EQ(results, std::vector<Kind>(4, Kind::captured));
}

TEST_F(Capture, AFailedFetchAnswersNothingAndIsRetriedNextTime) {
    auto w = sim.app("com.example.A", "A").window("One", {0, 0, 400, 300}).minimized();
    sim.windowServer.setShareableContentFails(true);
    EXPECT_EQ(run(info(w), 200, false).kind, Kind::unavailable);
    sim.windowServer.setShareableContentFails(false);
    EXPECT_EQ(run(info(w), 200, false).kind, Kind::captured);
    EXPECT_EQ(sim.windowServer.shareableContentFetches(), 2);
}

TEST_F(Capture, SynchronousCaptureOfAFullScreenWindowComesFromItsScreenArea) {
    auto w =
        sim.app("com.example.Player", "Player").window("Film", {0, 0, 800, 600}).image(detailed(720, 450));
    sim.windows.setFullscreenNow(w);
    WindowInfo film = info(w);
    ASSERT_TRUE(film.isFullscreen);
    const QImage image = capture.visibleImage(film, 300);
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.width(), 300);

    // Once its Space is out of view there is nothing to take.
    sim.windows.switchToSpace(1);
    EXPECT_TRUE(capture.visibleImage(film, 300).isNull());
    // A uniform image never passes the synchronous test.
    sim.windows.switchToSpace(sim.windows.window(w)->space);
    sim.windows.update(w, [](SimWindow& x) { x.directImage = solid(72, 45, Qt::black); });
    EXPECT_TRUE(capture.visibleImage(film, 300).isNull());
}
