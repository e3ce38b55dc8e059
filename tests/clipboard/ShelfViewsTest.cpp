// The shelf's widgets rendered offscreen: layout, texts, callbacks and PNG snapshots.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/input/Inject.h"
#include "core/shell/PanelStyles.h"
#include "platform/sim/SimSession.h"
#include "ports/KeyCodes.h"
#include "selfcheck/ClipboardSamples.h"
#include "support/RecordingPanels.h"
#include "support/Snapshots.h"
#include "ui/clipboard/ClipboardCard.h"
#include "ui/clipboard/ClipboardShelfView.h"
#include "ui/clipboard/QtShelfPanel.h"
#include "ui/clipboard/ThumbnailPixels.h"
#include "ui/common/PanelHost.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

// Snapshots go where FENWOLD_SNAPSHOT_DIR points, else to a scratch folder.
QString snapshotPath(const QString& name) {
    QString folder = fenwold::testing::snapshotFolder();
    if (folder.isEmpty()) folder = QDir::temp().filePath("fenwold-shelf-snapshots");
    QDir().mkpath(folder);
    return QDir(folder).filePath(name + ".png");
}

class ShelfViewsTest : public ::testing::Test {
protected:
    SimSession sim;
    ClipboardStore store{std::nullopt, sim.pasteboard, [] { return true; },
                         ClipboardStoreServices{&sim.mainQueue, &sim.worker,
                                                [this] { return sim.workspace.frontmostApp(); }, &sim.clock,
                                                std::nullopt}};
    Inject inject{sim.keys, sim.workspace, sim.log};
    InjectPaste paste{inject};
    QtShelfPanel* panel = nullptr;
    std::unique_ptr<ClipboardShelfController> shelf;
    std::vector<std::tuple<QString, bool, bool>> used;
    bool dark = false;
    DesktopPanelHost desktop;
    const PanelHost* host = &desktop;

    void SetUp() override {
        Prefs(sim.prefs).registerDefaults();
        Prefs(sim.prefs).set(PrefKey::winV, true);
        sim.app("com.apple.TextEdit", "TextEdit").frontmost();
    }
    void build() {
        shelf = std::make_unique<ClipboardShelfController>(
            store, ShelfServices{&sim.mainQueue, &sim.workspace, &sim.screens, &paste, &sim.prefs},
            [this](ShelfViewContext context) {
                auto original = context.use;
                context.use = [this, original](const ClipboardEntry& clip, bool plain, bool copyOnly) {
                    used.emplace_back(clip.text(), plain, copyOnly);
                    original(clip, plain, copyOnly);
                };
                auto p = std::make_unique<QtShelfPanel>(
                    context, ShelfStyle{dark, false, true}, [this] { return sim.clock.now(); }, *host,
                    panelstyles::shelf(false));
                panel = p.get();
                return p;
            });
    }
    void open() {
        shelf->show();
        sim.mainQueue.drain();
        QApplication::processEvents();
    }
    ClipboardShelfView& view() { return *panel->view(); }
    QImage snapshot(const QString& name) {
        QApplication::processEvents();
        const QImage image = panel->window()->grab().toImage();
        image.save(snapshotPath(name));
        return image;
    }
    QStringList visibleLabelTexts() {
        QStringList texts;
        for (auto* label : view().findChildren<QLabel*>())
            if (label->isVisibleTo(&view())) texts << label->text();
        return texts;
    }
    QPushButton* button(const QString& text) {
        for (auto* b : view().findChildren<QPushButton*>())
            if (b->text() == text) return b;
        return nullptr;
    }
};

TEST_F(ShelfViewsTest, SampleShelfInLightAndDark) {
    for (bool appearance : {false, true}) {
        dark = appearance;
        store.clearRecent();
        for (const auto& e : std::vector<ClipboardEntry>(store.entries()))
            store.togglePin(e.id());
        store.clearRecent();
        insertSampleClips(store, sim.clock.now());
        build();
        open();
        EXPECT_EQ(panel->window()->size(), QSize(1060, 354));
        ASSERT_EQ(view().cards().size(), 5u);
        for (const auto* card : view().cards())
            EXPECT_EQ(card->size(), QSize(218, 190));
        EXPECT_TRUE(view().cards()[0]->selected());
        EXPECT_TRUE(visibleLabelTexts().contains("5 clips"));
        EXPECT_TRUE(visibleLabelTexts().contains("Clipboard"));
        EXPECT_TRUE(visibleLabelTexts().contains("Win V"));
        EXPECT_EQ(view().searchField()->placeholderText(), "Search clips");
        EXPECT_EQ(view().cards()[1]->accessibleName(),
                  "Code, import { useState } from \"react\";, from Visual Studio Code");
        ASSERT_TRUE(button(QString::fromUtf8("↵ Paste")));
        EXPECT_TRUE(button(QString::fromUtf8("↵ Paste"))->isEnabled());
        const QImage image = snapshot(appearance ? "shelf-dark" : "shelf-light");
        EXPECT_EQ(image.size(), QSize(1060, 354));
        shelf.reset();
    }
}

// Counts the paints the shelf's labels get outside the panel's own frames: the launch warm-up's.
class PaintsOutsideFrames : public QObject {
public:
    explicit PaintsOutsideFrames(QWidget* window) : window_(window) { qApp->installEventFilter(this); }
    ~PaintsOutsideFrames() override { qApp->removeEventFilter(this); }
    int count = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const QEvent::Type type = event->type();
        if ((type == QEvent::UpdateRequest || type == QEvent::Expose) &&
            (watched == window_ || watched == window_->windowHandle())) {
            ++depth_; // delivered here, to know which paints belong to the frame
            watched->event(event);
            --depth_;
            return true;
        }
        auto* label = qobject_cast<QLabel*>(watched);
        if (type == QEvent::Paint && depth_ == 0 && label && label->window() == window_) ++count;
        return false;
    }

private:
    QWidget* window_;
    int depth_ = 0;
};

TEST_F(ShelfViewsTest, TheLaunchWarmUpWaitsForStartUpDrawsWhileHiddenAndStopsOnceTheShelfOpens) {
    const int warmUpMilliseconds = ClipboardShelfView::warmUpOverMilliseconds;
    build();
    {
        PaintsOutsideFrames warmUp(panel->window());
        QTest::qWait(ClipboardShelfView::warmUpDelayMilliseconds / 2);
        EXPECT_EQ(warmUp.count, 0) << "the warm-up waits for the program's start to pass";
        QTest::qWait(warmUpMilliseconds);
        EXPECT_GT(warmUp.count, 0);
        EXPECT_FALSE(panel->window()->isVisible());
    }
    shelf.reset();

    // Opened before the warm-up has begun: the person's frames are the only drawing.
    build();
    PaintsOutsideFrames warmUp(panel->window());
    open();
    ASSERT_TRUE(panel->window()->isVisible());
    QTest::qWait(warmUpMilliseconds);
    EXPECT_EQ(warmUp.count, 0);
}

TEST(ThumbnailPixels, GiveEachOpaqueThumbnailWholeInFourBytesAndOthersAsTheyAre) {
    auto noise = [](int width, int height, int seed) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
                image.setPixel(x, y, qRgb((x * seed + y) % 256, (x ^ (y * seed)) % 256, (x + y * 3) % 256));
        return image;
    };
    ThumbnailPixels pixels;
    // Larger, smaller, then larger again: the memory kept is reused and grown, never read stale.
    for (const auto& [size, seed] :
         std::vector<std::pair<QSize, int>>{{{640, 427}, 3}, {{37, 640}, 5}, {{3, 2}, 7}, {{640, 640}, 11}}) {
        const QImage original = noise(size.width(), size.height(), seed);
        const QImage drawn = pixels.forDrawing(original.convertToFormat(opaqueThumbnailFormat));
        EXPECT_EQ(drawn.format(), QImage::Format_RGB32);
        EXPECT_EQ(drawn.bytesPerLine(), original.bytesPerLine());
        EXPECT_EQ(drawn, original) << size.width() << "x" << size.height();
    }
    pixels.release();
    const QImage small = noise(5, 4, 13);
    EXPECT_EQ(pixels.forDrawing(small.convertToFormat(opaqueThumbnailFormat)), small);

    QImage translucent(4, 4, QImage::Format_ARGB32);
    translucent.fill(QColor(10, 20, 30, 40));
    const QImage kept = pixels.forDrawing(translucent);
    EXPECT_EQ(kept.format(), QImage::Format_ARGB32);
    EXPECT_EQ(kept.constBits(), translucent.constBits()); // the same pixels, not a copy
}

TEST_F(ShelfViewsTest, AnOpaqueImageCardDrawsItsThumbnailWithSharpEdges) {
    // A thumbnail kept in three bytes a pixel is drawn as the four-byte one was: scaled into the
    // card with whole-pixel edges, nothing blended with the card around it.
    const QColor green(0, 200, 0);
    QImage photo(640, 427, QImage::Format_RGB32);
    photo.fill(green);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    photo.save(&buffer, "PNG");
    const ClipboardEntry entry(savedClip(ClipPayload{{PasteboardItem{{{ClipTypes::png, png}}}}}), false);
    ASSERT_TRUE(entry.thumbnail());
    ASSERT_EQ(entry.thumbnail()->format(), QImage::Format_RGB888);
    ThumbnailPixels pixels;
    ClipboardCard card(entry, 0, false, sim.clock.now(), ShelfStyle{false, false, true}, pixels);
    for (double ratio : {1.0, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage drawn(card.size() * ratio, QImage::Format_ARGB32_Premultiplied);
        drawn.setDevicePixelRatio(ratio);
        drawn.fill(Qt::transparent);
        card.render(&drawn);
        // Through the middle of the preview, across and down: the card's colour, then the photo's.
        const int middleX = drawn.width() / 2, middleY = int(drawn.height() * 0.45);
        const QRgb background = drawn.pixel(int(20 * ratio), middleY);
        int greens = 0;
        for (int x = int(16 * ratio); x < drawn.width() - int(16 * ratio); ++x) {
            const QRgb pixel = drawn.pixel(x, middleY);
            greens += pixel == green.rgb();
            EXPECT_TRUE(pixel == green.rgb() || pixel == background) << x << " " << std::hex << pixel;
        }
        EXPECT_GT(greens, 150 * ratio);
        for (int y = int(40 * ratio); y < int(150 * ratio); ++y)
            EXPECT_EQ(drawn.pixel(middleX, y), green.rgb()) << y;
    }
}

TEST_F(ShelfViewsTest, InspectorMakesTheShelfTaller) {
    insertSampleClips(store, sim.clock.now());
    build();
    open();
    shelf->model().move(1); // the code snippet
    shelf->toggleInspector();
    QApplication::processEvents();
    EXPECT_EQ(panel->window()->size(), QSize(1060, 624));
    EXPECT_TRUE(visibleLabelTexts().contains(QString::fromUtf8("192 characters")));
    snapshot("shelf-inspector");
    shelf->handle(ShelfKeyEvent{kEsc, 0, QString(QChar(27)), false});
    QApplication::processEvents();
    EXPECT_EQ(panel->window()->size(), QSize(1060, 354));
}

TEST_F(ShelfViewsTest, EmptyStatesAndDisabledButtons) {
    build();
    open();
    EXPECT_TRUE(view().cards().empty());
    EXPECT_TRUE(visibleLabelTexts().contains("Your next copy lands here"));
    EXPECT_TRUE(visibleLabelTexts().contains("0 clips"));
    EXPECT_FALSE(button("Space Preview")->isEnabled());
    EXPECT_FALSE(button(QString::fromUtf8("↵ Paste"))->isEnabled());
    snapshot("shelf-empty");

    shelf->model().setFilter(ClipboardFilter::pinned);
    QApplication::processEvents();
    EXPECT_TRUE(visibleLabelTexts().contains("Keep the useful things close"));
    snapshot("shelf-empty-pinned");

    store.insert(textEntry("something"));
    shelf->model().setFilter(ClipboardFilter::all);
    shelf->model().setQuery("zebra");
    QApplication::processEvents();
    EXPECT_TRUE(visibleLabelTexts().contains("No matching clips"));
    EXPECT_EQ(view().searchField()->text(), "zebra");
    snapshot("shelf-no-match");

    store.togglePaused();
    QApplication::processEvents();
    EXPECT_TRUE(visibleLabelTexts().filter("Capture paused").size() == 1);
    store.setMessage(ClipboardStore::pinsFullMessage);
    QApplication::processEvents();
    EXPECT_TRUE(visibleLabelTexts().contains(ClipboardStore::pinsFullMessage));
    EXPECT_TRUE(visibleLabelTexts().filter("Capture paused").isEmpty());
}

TEST_F(ShelfViewsTest, ClicksSelectAndDoubleClicksPaste) {
    for (int i = 0; i < 11; ++i)
        store.insert(textEntry(QString("clip %1").arg(i)));
    build();
    open();
    ASSERT_GE(view().cards().size(), 4u);
    QTest::mouseClick(view().cards()[2], Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(shelf->model().selected()->text(), "clip 8");
    EXPECT_TRUE(view().cards()[2]->selected());
    EXPECT_FALSE(view().cards()[0]->selected());
    QTest::mouseDClick(view().cards()[3], Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(std::get<0>(used[0]), "clip 7");
    EXPECT_FALSE(std::get<1>(used[0]));
    EXPECT_FALSE(shelf->isOpen());
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("clip 7")});
}

// A full history opens with the cards that fill the visible row and one past it; the others are
// made as the selection or scrolling brings them near, at their places in the row.
TEST_F(ShelfViewsTest, AFullHistoryMakesTheCardsNearTheVisibleRowAndTheOthersAsTheyComeNear) {
    for (int i = 0; i < 40; ++i)
        store.insert(textEntry(QString("clip %1").arg(i)));
    build();
    open();
    auto* viewport = view().cards().front()->parentWidget()->parentWidget();
    const auto made = view().cards().size();
    EXPECT_LT(made, 10u);
    EXPECT_GE(view().cards().back()->mapTo(viewport, QPoint(0, 0)).x(), viewport->width())
        << "the row's visible part is filled";
    const auto inOrderWithGaps = [&] {
        const auto& cards = view().cards();
        for (std::size_t i = 0; i < cards.size(); ++i) {
            if (cards[i]->entry().id() != shelf->model().visible()[i]->id()) return false;
            if (i > 0 && cards[i]->x() <= cards[i - 1]->geometry().right() + 1) return false;
        }
        return true;
    };
    EXPECT_TRUE(inOrderWithGaps());

    // The oldest clip, chosen by keys, is made and scrolled into view.
    shelf->model().move(39);
    QApplication::processEvents();
    ASSERT_EQ(view().cards().size(), 40u);
    EXPECT_TRUE(inOrderWithGaps());
    ClipboardCard* last = view().cards().back();
    EXPECT_TRUE(last->selected());
    const QRect shown(last->mapTo(viewport, QPoint(0, 0)), last->size());
    EXPECT_TRUE(viewport->rect().contains(shown)) << "the selected card is cut off";

    // Pinning it remakes its card in place: the row stays where the card is.
    store.togglePin(last->entry().id());
    QApplication::processEvents();
    last = view().cards().back();
    EXPECT_TRUE(last->entry().pinned);
    EXPECT_TRUE(viewport->rect().contains(QRect(last->mapTo(viewport, QPoint(0, 0)), last->size())))
        << "the pinned card went out of view";
    QTest::mouseDClick(last, Qt::LeftButton, {}, QPoint(100, 100));
    ASSERT_EQ(used.size(), 1u);
    EXPECT_EQ(std::get<0>(used[0]), "clip 0");

    // A new copy takes the first place and moves every card made so far one place on.
    open();
    store.insert(textEntry("clip 40"));
    QApplication::processEvents();
    EXPECT_EQ(view().cards().front()->entry().text(), "clip 40");
    EXPECT_EQ(view().cards().size(), 40u);
    EXPECT_TRUE(inOrderWithGaps());
}

// Making a card is the expensive part of a refresh: a copy adds one card and keeps the others,
// which still act for their own clips.
TEST_F(ShelfViewsTest, ACopyKeepsTheOtherCardsAndAPinRemakesOnlyItsCard) {
    for (int i = 0; i < 3; ++i)
        store.insert(textEntry(QString("clip %1").arg(i)));
    build();
    open();
    const std::vector<ClipboardCard*> before = view().cards();
    ASSERT_EQ(before.size(), 3u);

    store.insert(textEntry("clip 3"));
    QApplication::processEvents();
    ASSERT_EQ(view().cards().size(), 4u);
    EXPECT_EQ(view().cards()[0]->entry().text(), "clip 3");
    EXPECT_EQ(std::vector<ClipboardCard*>(view().cards().begin() + 1, view().cards().end()), before);
    QTest::mouseClick(view().cards()[2], Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(shelf->model().selected()->text(), "clip 1");
    EXPECT_TRUE(view().cards()[2]->selected());

    const QUuid pinned = view().cards()[3]->entry().id();
    ClipboardCard* const old = view().cards()[3];
    store.togglePin(pinned);
    QApplication::processEvents();
    ASSERT_EQ(view().cards().size(), 4u);
    const auto card = std::find_if(view().cards().begin(), view().cards().end(),
                                   [&](const ClipboardCard* c) { return c->entry().id() == pinned; });
    ASSERT_NE(card, view().cards().end());
    EXPECT_NE(*card, old);
    EXPECT_TRUE((*card)->entry().pinned);
    auto* pin = (*card)->findChild<QToolButton*>(QStringLiteral("pin"));
    ASSERT_NE(pin, nullptr);
    EXPECT_TRUE(pin->property("pinned").toBool());
    EXPECT_EQ(std::count_if(view().cards().begin(), view().cards().end(),
                            [&](ClipboardCard* c) {
                                return std::find(before.begin(), before.end(), c) != before.end();
                            }),
              2);

    store.remove(view().cards().back()->entry().id());
    QApplication::processEvents();
    EXPECT_EQ(view().cards().size(), 3u);
}

TEST_F(ShelfViewsTest, TypingIntoTheShelfSearchesAndFilterChipsFilter) {
    store.insert(textEntry("import os"));
    store.insert(textEntry("grocery list"));
    build();
    open();
    shelf->focusSearch(ShelfKeyEvent{kG, 0, "g", false});
    QApplication::processEvents();
    EXPECT_EQ(view().searchField()->text(), "g");
    EXPECT_EQ(shelf->model().query(), "g");
    EXPECT_TRUE(shelf->model().searchFocused());
    view().searchField()->setText("import");
    QApplication::processEvents();
    ASSERT_EQ(view().cards().size(), 1u);
    EXPECT_EQ(view().cards()[0]->entry().text(), "import os");
    EXPECT_TRUE(view().cards()[0]->selected());

    view().searchField()->clear();
    button("Text")->click();
    QApplication::processEvents();
    EXPECT_EQ(shelf->model().filter(), ClipboardFilter::text);
    ASSERT_EQ(view().cards().size(), 1u);
    EXPECT_EQ(view().cards()[0]->entry().text(), "grocery list");
}

TEST(ShelfKeyEventTest, QtKeysBecomeVirtualKeyCodesAndFlags) {
    const QKeyEvent commandV(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier, "v");
    const auto key = shelfKeyEvent(commandV);
    EXPECT_EQ(key.keyCode, 9);
    EXPECT_EQ(key.flags, 0x100000u);
    const QKeyEvent shiftReturn(QEvent::KeyPress, Qt::Key_Return, Qt::ShiftModifier | Qt::MetaModifier, "\r");
    EXPECT_EQ(shelfKeyEvent(shiftReturn).keyCode, 36);
    EXPECT_EQ(shelfKeyEvent(shiftReturn).flags, 0x20000u | 0x40000u);
    EXPECT_EQ(shelfKeyEvent(QKeyEvent(QEvent::KeyPress, Qt::Key_5, Qt::NoModifier, "5")).keyCode, 23);
}

TEST_F(ShelfViewsTest, APlatformPanelHostsTheShelfTakesItsKeysOnlyWhileKeyAndReportsOutsideClicks) {
    fenwold::testing::RecordingPanelHost recording;
    host = &recording;
    insertSampleClips(store, sim.clock.now());
    build();
    open();
    fenwold::testing::RecordingPanel* window = recording.panel("Clipboard shelf");
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->content, panel->window());
    EXPECT_TRUE(window->shown);
    EXPECT_TRUE(window->style.takesKeys);
    ASSERT_FALSE(window->frames.empty());
    EXPECT_EQ(window->frames.back().width, 1060);
    EXPECT_FALSE(panel->window()->isVisible()) << "the platform panel shows the content, not Qt";

    // Keys typed into the content reach the shelf while the platform panel is key, and not after.
    QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    QApplication::sendEvent(&view(), &right);
    ASSERT_TRUE(shelf->model().selected());
    EXPECT_EQ(shelf->model().selected()->id(), shelf->model().visible()[1]->id());
    window->key = false;
    QApplication::sendEvent(&view(), &right);
    EXPECT_EQ(shelf->model().selected()->id(), shelf->model().visible()[1]->id());

    // Clicks in the panel, or in a menu opened from it (the options menu, a card's menu), keep
    // the shelf; one anywhere else closes it.
    ASSERT_TRUE(window->clicks);
    window->clicks(panel->window());
    EXPECT_TRUE(shelf->isOpen());
    QMenu menu(view().cards().front());
    window->clicks(&menu);
    EXPECT_TRUE(shelf->isOpen());
    sim.mainQueue.drain();
    EXPECT_TRUE(shelf->isOpen());
    // Another of the program's windows is outside.
    QWidget settings;
    window->clicks(&settings);
    sim.mainQueue.drain();
    EXPECT_FALSE(shelf->isOpen());
    EXPECT_FALSE(window->shown);
}

TEST_F(ShelfViewsTest, TheContentAlwaysHasThePanelsSizeThroughOpeningAnimatingAndReopeningLarger) {
    insertSampleClips(store, sim.clock.now());
    build();
    open();
    EXPECT_EQ(panel->window()->size(), QSize(1060, 354));
    // Once the slide ends, the content sits exactly where the panel is.
    QTest::qWait(qRound(ClipboardShelfController::openSeconds * 1000) + 150);
    EXPECT_EQ(panel->window()->geometry(), desktop.toWidget(panel->panel().frame()));
    shelf->hide();
    sim.mainQueue.drain();
    // Opened again with the inspector, the shelf is taller: the content follows.
    open();
    shelf->toggleInspector();
    sim.mainQueue.drain();
    QApplication::processEvents();
    EXPECT_EQ(panel->window()->size(), QSize(1060, 624));
    EXPECT_EQ(panel->window()->geometry(), desktop.toWidget(panel->panel().frame()));
    EXPECT_EQ(view().size(), panel->window()->size());
}

} // namespace
