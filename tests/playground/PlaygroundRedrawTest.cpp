// The simulated screen and the windows' images are drawn again when what they show changes, and
// only then: left alone, the playground does nothing.
#include "PlaygroundFixture.h"
#include "ports/KeyCodes.h"

#include <QEventLoop>
#include <QTimer>
#include <QUrl>
#include <functional>
#include <map>

using namespace fenwold;

namespace {

std::map<uint32_t, qint64> windowImages(const SimSession& sim) {
    std::map<uint32_t, qint64> images;
    for (uint32_t n : sim.windows.stacking())
        images[n] = sim.windows.window(n)->captureImage.cacheKey();
    return images;
}

// The windows whose images differ between two takes.
std::vector<uint32_t> redrawn(const std::map<uint32_t, qint64>& before,
                              const std::map<uint32_t, qint64>& after) {
    std::vector<uint32_t> numbers;
    for (const auto& [n, key] : after)
        if (!before.contains(n) || before.at(n) != key) numbers.push_back(n);
    return numbers;
}

class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return false;
    }
};

void runLoopFor(int milliseconds) {
    QEventLoop loop;
    QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace

TEST_F(Playground, TheScreenIsDrawnAgainWhenWhatItShowsChangesAndOnlyThen) {
    DesktopView& desk = pg->desktop();
    pg->settle();
    EXPECT_FALSE(desk.updateIfChanged());
    SimApps& apps = pg->apps();
    const uint32_t term = focused(apps.terminal());
    QImage icon(16, 16, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::red);
    const struct {
        const char* what;
        std::function<void()> change;
    } changes[] = {
        {"a window moved", [&] { sim.windows.update(term, [](SimWindow& w) { w.frame.x += 40; }); }},
        {"a window retitled", [&] { sim.windows.setTitle(term, QStringLiteral("zsh — 100×30")); }},
        {"text typed",
         [&] {
             apps.editor().keyDown(AppKey{kX, 0, false});
         }},
        {"another application in front", [&] { sim.workspace.activate(apps.terminal().pid()); }},
        {"another window in front", [&] { sim.windows.raise(focused(apps.editor())); }},
        {"a window minimised", [&] { sim.windows.update(term, [](SimWindow& w) { w.minimized = true; }); }},
        {"an application hidden", [&] { sim.workspace.hide(apps.finder().pid()); }},
        {"the other Space", [&] { sim.windows.switchToSpace(2); }},
        {"back to the first", [&] { sim.windows.switchToSpace(1); }},
        {"another keyboard layout", [&] { sim.keyboardLayout.select(QStringLiteral("German")); }},
        {"the status item's icon", [&] { desk.setIcon(icon); }},
        {"the system asks", [&] { sim.systemUI.appleMenuItem(QStringLiteral("Restart…")); }},
        {"it asks something else", [&] { sim.systemUI.appleMenuItem(QStringLiteral("Shut Down…")); }},
        {"the question goes", [&] { sim.systemUI.dismiss(); }},
        {"an application launched into the Dock",
         [&] {
             apps.open(
                 QUrl::fromLocalFile(QStringLiteral("/System/Applications/Utilities/Activity Monitor.app")));
         }},
    };
    for (const auto& [what, change] : changes) {
        change();
        EXPECT_TRUE(desk.updateIfChanged()) << what;
        EXPECT_FALSE(desk.updateIfChanged()) << what;
    }
}

TEST_F(Playground, AWindowsImageIsMadeAgainOnlyWhenWhatItShowsChanged) {
    DesktopView& desk = pg->desktop();
    pg->settle();
    const auto start = windowImages(sim);
    desk.refreshWindowImages();
    EXPECT_TRUE(redrawn(start, windowImages(sim)).empty());

    // Typing changes the document's window alone; moving a window changes no image.
    const uint32_t notes = focused(pg->apps().editor());
    const uint32_t term = focused(pg->apps().terminal());
    pg->apps().editor().keyDown(AppKey{kX, 0, false});
    sim.windows.update(term, [](SimWindow& w) { w.frame.y += 30; });
    desk.refreshWindowImages();
    const auto typed = windowImages(sim);
    EXPECT_EQ(redrawn(start, typed), std::vector<uint32_t>{notes});

    // A resized window is drawn at its new size.
    sim.windows.update(term, [](SimWindow& w) { w.frame.width += 100; });
    desk.refreshWindowImages();
    EXPECT_EQ(redrawn(typed, windowImages(sim)), std::vector<uint32_t>{term});
    EXPECT_EQ(sim.windows.window(term)->captureImage.width(), qRound(sim.windows.window(term)->frame.width));
}

// On the real clock the session settles each time Qt's loop is about to sleep.
TEST(PlaygroundRealClock, KeysPostedWithoutInputReachTheirApplicationAndNothingElseIsDrawn) {
    SimSession sim;
    PlaygroundSession pg(sim, sim.platform(), StartupOptions{}, false);
    pg.start();
    pg.desktop().show();
    PaintCounter counter(pg.desktop());
    runLoopFor(100); // the first frame
    EXPECT_GT(counter.paints, 0);

    // The loop wakes up for a timer that changes nothing: nothing is drawn.
    counter.paints = 0;
    const auto images = windowImages(sim);
    QTimer idle;
    QObject::connect(&idle, &QTimer::timeout, [] {});
    idle.start(5);
    runLoopFor(150);
    idle.stop();
    EXPECT_EQ(counter.paints, 0);
    EXPECT_TRUE(redrawn(images, windowImages(sim)).empty());

    // A key the program posts from a timer, with no input, reaches the editor and is drawn, in its
    // window on the screen and in the window's image.
    TextEditorApp& editor = pg.apps().editor();
    const uint32_t notes = *sim.windows.focusedWindow(editor.pid());
    QTimer::singleShot(10, [&] {
        sim.keys.post(kX, true, 0, editor.pid());
        sim.keys.post(kX, false, 0, editor.pid());
    });
    runLoopFor(100);
    EXPECT_TRUE(editor.content(notes).join('\n').contains('x'));
    EXPECT_GT(counter.paints, 0);
    EXPECT_EQ(redrawn(images, windowImages(sim)), std::vector<uint32_t>{notes});
}
