// The capture store on the simulated session: polling, privacy, bounds, pins and write-back.
#include "core/clipboard/ClipboardStore.h"
#include "ClipTestSupport.h"
#include "core/clipboard/PinsFile.h"
#include "platform/sim/SimSession.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

class ClipboardStoreTest : public ::testing::Test {
protected:
    SimSession sim;
    QTemporaryDir dir;
    bool enabled = true;
    int32_t notes = sim.app("com.apple.Notes", "Notes").frontmost();
    std::unique_ptr<ClipboardStore> store = makeStore();

    std::unique_ptr<ClipboardStore> makeStore(std::optional<QString> path = std::nullopt) {
        if (!path) path = dir.filePath("Fenwold/clipboard-pins.json");
        return std::make_unique<ClipboardStore>(
            path, sim.pasteboard, [this] { return enabled; },
            ClipboardStoreServices{&sim.mainQueue, &sim.worker,
                                   [this] { return sim.workspace.frontmostApp(); }, &sim.clock,
                                   QStringLiteral("org.fenwold.Fenwold")});
    }
    // One poll tick with the worker finishing at once.
    void settle() {
        sim.mainQueue.advance(ClipboardStore::pollInterval);
        sim.worker.runAll();
        sim.mainQueue.drain();
    }
    void copy(const QString& text) {
        sim.pasteboard.copyText(text);
        settle();
    }
    QStringList texts() const {
        QStringList out;
        for (const auto& e : store->entries())
            out << e.text();
        return out;
    }
    void startFresh() {
        store->start();
        sim.worker.runAll();
        sim.mainQueue.drain();
    }
};

TEST_F(ClipboardStoreTest, CapturesCopiesWithTheirSourceNewestFirst) {
    startFresh();
    copy("first");
    sim.clock.advance(5);
    sim.app("com.microsoft.VSCode", "Visual Studio Code").frontmost();
    copy("const x = 1;");
    ASSERT_EQ(texts(), QStringList({"const x = 1;", "first"}));
    const auto& newest = store->entries().front();
    EXPECT_EQ(newest.saved.source, "Visual Studio Code");
    EXPECT_EQ(newest.saved.sourceID, "com.microsoft.VSCode");
    EXPECT_EQ(newest.kind(), ClipKind::code);
    EXPECT_DOUBLE_EQ(newest.saved.copiedAt, 786'000'005);
    EXPECT_FALSE(newest.pinned);

    // Nothing is read from the pasteboard while its change count stays put.
    const int listings = sim.pasteboard.typeListings();
    const auto reads = sim.pasteboard.dataReads();
    settle();
    settle();
    EXPECT_EQ(sim.pasteboard.typeListings(), listings);
    EXPECT_EQ(sim.pasteboard.dataReads(), reads);
}

TEST_F(ClipboardStoreTest, CopiesWithoutAFrontmostAppOrFromThisProgramAreTreatedApart) {
    startFresh();
    sim.workspace.clearFrontmost();
    copy("orphan");
    ASSERT_EQ(store->entries().size(), 1u);
    EXPECT_EQ(store->entries()[0].saved.source, "Unknown app");
    EXPECT_FALSE(store->entries()[0].saved.sourceID);

    sim.app("org.fenwold.Fenwold", "Fenwold").frontmost();
    copy("from the settings window");
    EXPECT_EQ(texts(), QStringList{"orphan"});
}

TEST_F(ClipboardStoreTest, SizeBoundIsThirtyTwoMebibytesPerCopy) {
    startFresh();
    copy(QString(33554433, QChar('a')));
    EXPECT_TRUE(store->entries().empty());
    copy(QString(33554432, QChar('b')));
    ASSERT_EQ(store->entries().size(), 1u);
    EXPECT_EQ(store->entries()[0].saved.payload.byteCount(), 33554432);
}

TEST_F(ClipboardStoreTest, PrivateAppsMarkedCopiesFilesAndEmptyTextAreSkipped) {
    startFresh();
    sim.app("com.bitwarden.desktop", "Bitwarden").frontmost();
    copy("hunter2");
    sim.workspace.activate(notes);
    sim.pasteboard.copy(
        {PasteboardItem{{{ClipTypes::string, "secret"}, {"org.nspasteboard.ConcealedType", ""}}}});
    settle();
    sim.pasteboard.copy(
        {PasteboardItem{{{"public.file-url", "file:///Users/me/a.txt"}, {ClipTypes::string, "a.txt"}}}});
    settle();
    sim.pasteboard.copy({PasteboardItem{{{ClipTypes::html, "<b>rich only</b>"}}}});
    settle();
    copy("   \n ");
    sim.pasteboard.copy(std::vector<PasteboardItem>(21, textItem("many")));
    settle();
    EXPECT_TRUE(store->entries().empty());

    // Types outside the kept set are dropped, and an item with none of them skips the copy.
    sim.pasteboard.copy({PasteboardItem{{{"com.example.private", "x"}, {ClipTypes::string, "kept"}}}});
    settle();
    ASSERT_EQ(store->entries().size(), 1u);
    EXPECT_EQ(store->entries()[0].saved.payload.items[0].types.size(), 1u);
    sim.pasteboard.copy({textItem("one"), PasteboardItem{{{"com.example.private", "x"}}}});
    settle();
    EXPECT_EQ(store->entries().size(), 1u);
    // A listed type without data is skipped; a marker type is honoured even without data.
    sim.pasteboard.copy({PasteboardItem{{{ClipTypes::html, QByteArray()}, {ClipTypes::string, "no html"}}}});
    settle();
    EXPECT_EQ(store->entries()[0].saved.payload.items[0].types.size(), 1u);
    sim.pasteboard.copy(
        {PasteboardItem{{{"org.nspasteboard.TransientType", QByteArray()}, {ClipTypes::string, "t"}}}});
    settle();
    EXPECT_EQ(store->entries()[0].text(), "no html");
}

TEST_F(ClipboardStoreTest, RefusedCopiesAreDecidedFromTheirTypesWithoutFetchingAnyData) {
    startFresh();
    sim.pasteboard.copy(
        {PasteboardItem{{{ClipTypes::string, "hunter2"}, {"org.nspasteboard.ConcealedType", ""}}}});
    settle();
    sim.pasteboard.copy({textItem("visible"), PasteboardItem{{{"com.agilebits.onepassword", ""}}}});
    settle();
    sim.pasteboard.copy(
        {PasteboardItem{{{ClipTypes::string, "a.txt"}, {"public.file-url", "file:///Users/me/a.txt"}}}});
    settle();
    sim.pasteboard.copy(std::vector<PasteboardItem>(21, textItem("many")));
    settle();
    sim.app("com.1password.1password", "1Password").frontmost();
    const int listings = sim.pasteboard.typeListings();
    copy("from the vault");
    EXPECT_TRUE(store->entries().empty());
    EXPECT_TRUE(sim.pasteboard.dataReads().empty());
    // A password manager in front is refused before even its types are listed.
    EXPECT_EQ(sim.pasteboard.typeListings(), listings);
}

TEST_F(ClipboardStoreTest, OnlyTheKeptTypesAreFetchedAndFetchingStopsPastTheBound) {
    startFresh();
    const QByteArray png = pngBytes(8, 8);
    sim.pasteboard.copy({PasteboardItem{{{"com.example.private", "x"},
                                         {ClipTypes::tiff, "TIFF"},
                                         {ClipTypes::png, png},
                                         {ClipTypes::string, "caption"}}}});
    settle();
    using Read = SimPasteboard::DataRead;
    // In the kept order, and the TIFF is never asked for once the PNG is there.
    EXPECT_EQ(sim.pasteboard.dataReads(), (std::vector<Read>{{0, ClipTypes::string}, {0, ClipTypes::png}}));

    const auto before = sim.pasteboard.dataReads().size();
    const QByteArray half(ClipLimits::maxCopyBytes / 2 + 1, 'a');
    sim.pasteboard.copy({PasteboardItem{{{ClipTypes::string, half}}},
                         PasteboardItem{{{ClipTypes::string, half}}}, textItem("third")});
    settle();
    EXPECT_EQ(store->entries().size(), 1u);
    EXPECT_EQ(sim.pasteboard.dataReads().size(), before + 2); // the third item is never read
}

TEST_F(ClipboardStoreTest, CaptureKeepsPngOverTiffAndSkipsNothingElse) {
    startFresh();
    const QByteArray png = pngBytes(8, 8);
    sim.pasteboard.copy({PasteboardItem{{{ClipTypes::tiff, "TIFF"}, {ClipTypes::png, png}}}});
    settle();
    ASSERT_EQ(store->entries().size(), 1u);
    const auto& item = store->entries()[0].saved.payload.items[0];
    ASSERT_EQ(item.types.size(), 1u);
    EXPECT_EQ(item.types[0].first, ClipTypes::png);
    EXPECT_EQ(store->entries()[0].kind(), ClipKind::image);
}

TEST_F(ClipboardStoreTest, CopyingTheSameTextAgainKeepsIdAndPinButTakesTheNewSource) {
    startFresh();
    copy("shared words");
    const QUuid id = store->entries()[0].id();
    store->togglePin(id);
    copy("something else");
    sim.app("com.apple.Safari", "Safari").frontmost();
    copy("shared words");
    ASSERT_EQ(texts(), QStringList({"shared words", "something else"}));
    EXPECT_EQ(store->entries()[0].id(), id);
    EXPECT_TRUE(store->entries()[0].pinned);
    EXPECT_EQ(store->entries()[0].saved.source, "Safari");
}

TEST_F(ClipboardStoreTest, HistoryKeepsOneHundredEntriesAndNeverEvictsPins) {
    startFresh();
    store->insert(textEntry("pinned", true));
    for (int i = 0; i < 120; ++i)
        store->insert(textEntry(QString("clip %1").arg(i)));
    ASSERT_EQ(store->entries().size(), 100u);
    EXPECT_EQ(store->entries().front().text(), "clip 119");
    EXPECT_EQ(store->entries()[98].text(), "clip 21");
    EXPECT_EQ(store->entries().back().text(), "pinned");

    // The byte bound evicts the oldest unpinned clips first.
    store->insert(textEntry(QString(33554432, QChar('a'))));
    store->insert(textEntry(QString(33554432, QChar('b'))));
    EXPECT_EQ(store->entries().size(), 2u);
    EXPECT_TRUE(store->entries()[0].text().startsWith('b'));
    EXPECT_EQ(store->entries()[1].text(), "pinned");
}

TEST_F(ClipboardStoreTest, TwentiethExtraPinIsRefusedWithAMessage) {
    startFresh();
    store->insert(textEntry("already pinned", true));
    for (int i = 0; i < 20; ++i)
        store->insert(textEntry(QString("clip %1").arg(i)));
    int refused = 0;
    for (int i = 0; i < 20; ++i) {
        const QUuid id = store->entries()[static_cast<std::size_t>(i)].id();
        store->togglePin(id);
        if (!store->entry(id)->pinned) ++refused;
    }
    EXPECT_EQ(refused, 1);
    EXPECT_FALSE(store->entries()[19].pinned);
    EXPECT_EQ(store->message(), ClipboardStore::pinsFullMessage);

    // Pinned bytes are bounded too.
    store->setMessage(std::nullopt);
    store->togglePin(store->entries()[0].id()); // unpin one to make room by count
    store->insert(textEntry(QString(33554432, QChar('z'))));
    store->togglePin(store->entries()[0].id());
    EXPECT_FALSE(store->entries()[0].pinned);
    EXPECT_EQ(store->message(), ClipboardStore::pinsFullMessage);
}

TEST_F(ClipboardStoreTest, ClearRecentKeepsPinsInOrderAndDropsACaptureInFlight) {
    startFresh();
    for (int i = 0; i < 13; ++i)
        store->insert(textEntry(QString("clip %1").arg(i), i % 4 == 0 && i > 0));
    sim.pasteboard.copyText("in flight");
    sim.mainQueue.advance(ClipboardStore::pollInterval);
    ASSERT_TRUE(store->processing());
    store->clearRecent();
    sim.worker.runAll();
    sim.mainQueue.drain();
    EXPECT_EQ(texts(), QStringList({"clip 12", "clip 8", "clip 4"}));
    EXPECT_FALSE(store->processing());
}

TEST_F(ClipboardStoreTest, CopiesMadeWhilePausedNeverAppear) {
    startFresh();
    store->togglePaused();
    EXPECT_TRUE(store->paused());
    copy("while paused");
    store->togglePaused();
    settle();
    EXPECT_TRUE(store->entries().empty());
    copy("after resuming");
    EXPECT_EQ(texts(), QStringList{"after resuming"});
}

TEST_F(ClipboardStoreTest, TurningCaptureOffDropsTheCaptureInFlightAndLaterCopies) {
    startFresh();
    sim.pasteboard.copyText("being built");
    sim.mainQueue.advance(ClipboardStore::pollInterval);
    ASSERT_TRUE(store->processing());
    enabled = false;
    sim.worker.runAll();
    sim.mainQueue.drain();
    EXPECT_TRUE(store->entries().empty());
    copy("while off");
    enabled = true;
    settle();
    EXPECT_TRUE(store->entries().empty());
    copy("back on");
    EXPECT_EQ(texts(), QStringList{"back on"});
}

TEST_F(ClipboardStoreTest, ACopyRacingTheReadIsTakenOnTheNextTickInsteadOfTheOldOne) {
    startFresh();
    sim.pasteboard.copyText("stale");
    sim.pasteboard.copyDuringNextRead({textItem("newer")});
    settle();
    EXPECT_TRUE(store->entries().empty());
    EXPECT_FALSE(store->processing());
    settle();
    EXPECT_EQ(texts(), QStringList{"newer"});
}

TEST_F(ClipboardStoreTest, ACopyDuringProcessingIsPickedUpOnALaterTick) {
    startFresh();
    sim.pasteboard.copyText("first");
    sim.mainQueue.advance(ClipboardStore::pollInterval);
    sim.pasteboard.copyText("second");
    sim.mainQueue.advance(ClipboardStore::pollInterval); // still processing: waits
    sim.worker.runAll();
    sim.mainQueue.drain();
    settle();
    EXPECT_EQ(texts(), QStringList({"second", "first"}));
}

TEST_F(ClipboardStoreTest, PinsSurviveARestartInFileOrderBeforeAnyCapture) {
    startFresh();
    for (const char* t : {"alpha", "beta", "gamma", "delta"})
        store->insert(textEntry(t));
    store->togglePin(store->entries()[3].id()); // alpha
    store->togglePin(store->entries()[1].id()); // gamma
    sim.worker.runAll();
    const std::vector<ClipboardEntry> before = store->entries();

    store = makeStore();
    store->start();
    sim.pasteboard.copyText("fresh copy"); // its capture is queued behind the pins load
    settle();
    ASSERT_EQ(texts(), QStringList({"fresh copy", "gamma", "alpha"}));
    EXPECT_EQ(store->entries()[1].saved, before[1].saved);
    EXPECT_EQ(store->entries()[2].saved, before[3].saved);
    EXPECT_TRUE(store->entries()[1].pinned);

    // Unpinning and removing rewrite the file.
    store->togglePin(store->entries()[1].id());
    store->remove(store->entries()[2].id());
    sim.worker.runAll();
    const auto saved = PinsFile::load(dir.filePath("Fenwold/clipboard-pins.json"));
    EXPECT_TRUE(saved.entries.empty());
    EXPECT_FALSE(saved.failed);
}

TEST_F(ClipboardStoreTest, PinFileFailuresReportAndKeepPinsInMemory) {
    QFile blocker(dir.filePath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    store = makeStore(dir.filePath("blocker/Fenwold/clipboard-pins.json"));
    startFresh();
    store->insert(textEntry("keep me"));
    store->togglePin(store->entries()[0].id());
    sim.worker.runAll();
    sim.mainQueue.drain();
    EXPECT_TRUE(store->entries()[0].pinned);
    EXPECT_EQ(store->message(), PinsFile::saveFailedMessage);

    QFile corrupt(dir.filePath("Fenwold/clipboard-pins.json"));
    QDir().mkpath(dir.filePath("Fenwold"));
    ASSERT_TRUE(corrupt.open(QIODevice::WriteOnly));
    corrupt.write("[{\"id\": 1}]");
    corrupt.close();
    store = makeStore();
    startFresh();
    EXPECT_EQ(store->message(), PinsFile::loadFailedMessage);
    EXPECT_TRUE(store->entries().empty());
    copy("recent clips still work");
    EXPECT_EQ(store->entries().size(), 1u);
    EXPECT_TRUE(corrupt.exists());
}

TEST_F(ClipboardStoreTest, WithoutAPinsLocationPinsStillWorkInMemory) {
    store = std::make_unique<ClipboardStore>(
        std::nullopt, sim.pasteboard, [] { return true; },
        ClipboardStoreServices{&sim.mainQueue, &sim.worker, [this] { return sim.workspace.frontmostApp(); },
                               &sim.clock, std::nullopt});
    store->start();
    EXPECT_EQ(sim.worker.pending(), 0u);
    store->insert(textEntry("x"));
    store->togglePin(store->entries()[0].id());
    EXPECT_TRUE(store->entries()[0].pinned);
    EXPECT_EQ(sim.worker.pending(), 0u);
}

TEST_F(ClipboardStoreTest, AStoreGoneBeforeItsWorkReturnsIsLeftAlone) {
    startFresh();
    sim.pasteboard.copyText("late");
    sim.mainQueue.advance(ClipboardStore::pollInterval);
    // The capture of "late" is on the worker when the store goes.
    ASSERT_GT(sim.worker.pending(), 0u);
    store.reset();
    EXPECT_GT(sim.worker.runAll(), 0u);
    sim.mainQueue.drain(); // must not touch the destroyed store
    // The capture's answer was dropped and the store's poll went with it: nothing is left to run.
    EXPECT_EQ(sim.mainQueue.pendingCount(), 0u);
    EXPECT_EQ(sim.worker.pending(), 0u);
}

TEST(ClipWriteBackTest, RichAndPlainWriteBack) {
    SimSession sim;
    const PasteboardItem rich{{{ClipTypes::string, "bold words"}, {ClipTypes::html, "<b>bold words</b>"}}};
    ASSERT_TRUE((ClipPayload{{rich}}.write(sim.pasteboard, false)));
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{rich});
    ASSERT_TRUE((ClipPayload{{rich}}.write(sim.pasteboard, true)));
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("bold words")});

    ASSERT_TRUE((ClipPayload{{textItem("one"), textItem("two")}}.write(sim.pasteboard, true)));
    EXPECT_EQ(sim.pasteboard.contents().size(), 2u);

    ASSERT_TRUE((ClipPayload{{PasteboardItem{{{ClipTypes::url, "https://example.com"}}}}}.write(
        sim.pasteboard, true)));
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("https://example.com")});

    const long count = sim.pasteboard.changeCount();
    const ClipPayload image{{PasteboardItem{{{ClipTypes::png, pngBytes(2, 2)}}}}};
    EXPECT_FALSE(image.write(sim.pasteboard, true));
    EXPECT_FALSE(ClipPayload{}.write(sim.pasteboard, false));
    EXPECT_EQ(sim.pasteboard.changeCount(), count);
    EXPECT_EQ(sim.pasteboard.contents(), std::vector<PasteboardItem>{textItem("https://example.com")});

    ASSERT_TRUE(image.write(sim.pasteboard, false));
    EXPECT_EQ(sim.pasteboard.contents(), image.items);

    sim.pasteboard.setWritesFail(true);
    EXPECT_FALSE(image.write(sim.pasteboard, false));
}

} // namespace
