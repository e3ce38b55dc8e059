#pragma once

// The program as its entry point assembles it where the simulated Mac is the platform: Qt's
// event loop as the main queue, a worker thread for the clipboard, the thread pool for previews,
// the real views and floating panels (offscreen).

#include "app/SimHost.h"
#include "core/shell/AppDelegate.h"
#include "support/TapEvents.h"
#include "ui/shell/QtShellViews.h"

#include <QApplication>
#include <QBuffer>
#include <QDeadlineTimer>
#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>
#include <chrono>
#include <ctime>
#include <memory>
#include <optional>
#include <random>

namespace fenwold::bench {

using Clock = std::chrono::steady_clock;

// The processor time of the calling thread: what a frame costs the main thread, which other work
// on a busy machine does not add to as it does to the time on the wall.
inline double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs Qt's event loop until done() holds; false when the deadline passes first.
inline bool runUntil(const std::function<bool()>& done, int milliseconds = 20000) {
    QDeadlineTimer deadline(milliseconds);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
    }
    return true;
}

// Runs Qt's event loop for a while.
inline void runFor(int milliseconds) {
    QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, static_cast<int>(deadline.remainingTime()));
}

// A picture with the detail of a document window, so previews are not uniform.
inline QImage windowPicture(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(QColor::fromHsv((seed * 37) % 360, 40, 245));
    QPainter p(&image);
    p.fillRect(0, 0, width, 28, QColor(60, 60, 70));
    for (int y = 40; y < height - 10; y += 18)
        p.fillRect(16, y, ((y * 7 + seed * 13) % (width - 40)) + 20, 8, QColor(40, 40, 40, 180));
    return image;
}

// The pictures the simulated window server holds for the windows: one per application, shared
// by its windows, so the session's own memory stays small beside the program's.
inline constexpr int kWindowPictures = 8;
inline constexpr double kWindowPictureMiB = kWindowPictures * 1280.0 * 800 * 4 / (1 << 20);

// 8 applications with count windows between them, a fifth of them minimised.
inline void populateWindows(SimSession& sim, int count) {
    for (int a = 0; a < kWindowPictures; ++a) {
        auto app = sim.app(QStringLiteral("com.example.app%1").arg(a), QStringLiteral("App %1").arg(a));
        const QImage picture = windowPicture(1280, 800, a);
        for (int w = a; w < count; w += kWindowPictures) {
            auto window = app.window(QStringLiteral("Document %1").arg(w),
                                     {30.0 + 12 * (w % 40), 40.0 + 9 * (w % 40), 1280, 800})
                              .image(picture);
            if (w % 5 == 4) window.minimized();
        }
        if (a == 0) app.frontmost();
    }
}

// A photograph's worth of PNG: noise does not compress, about 1.6 MiB.
inline QByteArray photoPng(int seed) {
    QImage image(900, 600, QImage::Format_RGB32);
    std::mt19937 random(static_cast<unsigned>(seed));
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = random() | 0xff000000u;
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    bytes.squeeze(); // a pasteboard hands over its bytes exactly sized
    return bytes;
}

// A history at its bounds: 100 copies, 20 of them photographs, the rest long texts and code of
// about 500 KiB and a few links; the 64 MiB bound keeps about 93 of them.
inline void fillHistoryAtTheCaps(ClipboardStore& store) {
    std::mt19937 random(7);
    for (int i = 0; i < 100; ++i) {
        PasteboardItem item;
        if (i % 5 == 2) {
            item.types.emplace_back(ClipTypes::png, photoPng(i));
        } else if (i % 20 == 4) {
            item.types.emplace_back(ClipTypes::string,
                                    QStringLiteral("https://example.com/articles/%1").arg(i).toUtf8());
        } else {
            QByteArray text = QStringLiteral("Clip %1: ").arg(i).toUtf8();
            if (i % 5 == 1) text.prepend("const value = compute();\n");
            while (text.size() < 500 * 1024)
                text += "word" + QByteArray::number(static_cast<int>(random() % 997)) +
                        (random() % 12 ? " " : "\n");
            text.squeeze();
            item.types.emplace_back(ClipTypes::string, text);
        }
        store.insert(
            ClipboardEntry(SavedClip{QUuid::createUuid(), ClipPayload{{item}}, QStringLiteral("Notes"),
                                     QStringLiteral("com.apple.Notes"), 786'000'000.0 + i},
                           false));
    }
}

// One copied text, as the clipboard poll would hand it to the store.
inline void copyText(ClipboardStore& store, const QString& text) {
    PasteboardItem item;
    item.types.emplace_back(ClipTypes::string, text.toUtf8());
    store.insert(ClipboardEntry(SavedClip{QUuid::createUuid(), ClipPayload{{item}}, QStringLiteral("Notes"),
                                          QStringLiteral("com.apple.Notes"), 786'100'000.0},
                                false));
}

class AppRig {
public:
    explicit AppRig(const std::function<void(SimSession&)>& populate) {
        populate(host_.session());
        platform_ = host_.platform();
        Prefs prefs(*platform_.prefs);
        prefs.registerDefaults();
        prefs.set(PrefKey::winV, true); // a person who uses the shelf
        prefs.set(PrefKey::welcomeShown, true);
        views_ = std::make_unique<QtShellViews>(platform_, SettingsDeps::of(platform_),
                                                host_.makeStatusItem(), nullptr, host_.nativePanels());
        StorageLocations storage;
        storage.pinsFile = pinsDir_.filePath(QStringLiteral("clipboard-pins.json"));
        app_ = std::make_unique<AppDelegate>(platform_, *views_, StartupOptions{}, storage);
        app_->applicationDidFinishLaunching();
        runUntil([this] { return app_->phase() == AppDelegate::Phase::armed; });
        settleBackground();
    }
    ~AppRig() {
        app_->applicationWillTerminate();
        settleBackground();
    }

    // Lets every preview capture finish and its result reach the main thread, and deletes what
    // was left to be deleted later (the cards of clips gone from the history), as the program's
    // running event loop does: processing events outside one leaves such objects alive.
    void settleBackground() {
        host_.background().waitForDone();
        runFor(20);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    AppDelegate& app() { return *app_; }
    SimSession& sim() { return host_.session(); }
    SimHost& host() { return host_; }
    // One key through the event tap, as the hardware sends it.
    void key(int64_t code, bool down, uint64_t flags) {
        TapEvent event = fenwold::testing::keyEvent(code, down, flags);
        sim().eventTap.feed(event);
    }
    void flags(uint64_t flags) {
        TapEvent event;
        event.type = eventtype::flagsChanged;
        event.flags = flags;
        sim().eventTap.feed(event);
    }
    // The top-level window of the panel with this accessibility title.
    static QWidget* panel(const QString& title) {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->windowTitle() == title) return w;
        return nullptr;
    }

private:
    SimHost host_;
    Platform platform_;
    QTemporaryDir pinsDir_;
    std::unique_ptr<QtShellViews> views_;
    std::unique_ptr<AppDelegate> app_;
};

// When the first frame of a panel has been painted and put on its window: the end of the first
// exposure or update of the panel's window during which one of its widgets painted. The panel is
// known by its accessibility title, which is its window title, so it may not exist yet.
class FirstFrame : public QObject {
public:
    explicit FirstFrame(QString title) : title_(std::move(title)) { qApp->installEventFilter(this); }
    ~FirstFrame() override { qApp->removeEventFilter(this); }

    void reset() {
        painted_ = false;
        end_.reset();
    }
    const std::optional<Clock::time_point>& end() const { return end_; }
    // The main thread's processor time when the frame ended (threadSeconds).
    double endThreadSeconds() const { return endThreadSeconds_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if (end_ || (type != QEvent::Paint && type != QEvent::UpdateRequest && type != QEvent::Expose))
            return false;
        if (!belongs(watched)) return false;
        if (type == QEvent::Paint) painted_ = true;
        if (depth_ > 0) return false; // inside the frame being measured
        // Deliver it here, to see when it is done.
        ++depth_;
        watched->event(event);
        --depth_;
        if (painted_) {
            end_ = Clock::now();
            endThreadSeconds_ = threadSeconds();
        }
        return true;
    }

private:
    // A hidden panel's widgets may paint too (drawn into an image, as the launch warm-up does);
    // only a shown panel's paint is a frame.
    bool belongs(QObject* object) const {
        if (auto* widget = qobject_cast<QWidget*>(object))
            return widget->window()->windowTitle() == title_ && widget->window()->isVisible();
        auto* window = qobject_cast<QWindow*>(object);
        return window && window->title() == title_ && window->isVisible();
    }

    QString title_;
    int depth_ = 0;
    bool painted_ = false;
    std::optional<Clock::time_point> end_;
    double endThreadSeconds_ = 0;
};

} // namespace fenwold::bench
