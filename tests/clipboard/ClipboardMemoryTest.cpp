// A long day of copying: ten thousand copies of every kind and size, up to the bound of one copy,
// pass through the capture store. The history's bounds hold after every copy, and the memory the
// program keeps stays within them plus a fixed allowance: nothing accumulates.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardStore.h"
#include "platform/sim/SimSession.h"

#include <QFile>
#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <unistd.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

// Resident memory of this process, in bytes; 0 where the system does not say.
qint64 residentBytes() {
#ifdef __linux__
    QFile statm("/proc/self/statm");
    if (!statm.open(QIODevice::ReadOnly)) return 0;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLongLong() * ::sysconf(_SC_PAGESIZE) : 0;
#else
    return 0;
#endif
}

QByteArray noisePng(int width, int height, int seed) {
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(static_cast<unsigned>(seed));
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = random();
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG", 100);
    return bytes;
}

// Copies the way people make them: mostly short texts, links and code, some rich text, images,
// and now and then something huge, up to exactly the 32 MiB a copy may hold.
class CopyMaker {
public:
    std::vector<PasteboardItem> next(int n) {
        const QString tag = QStringLiteral("copy %1 ").arg(n);
        const int dice = static_cast<int>(random_() % 1000);
        if (n % 2500 == 1250) return {text(tag + QString(ClipLimits::maxCopyBytes - tag.size(), 'w'))};
        if (n % 2500 == 0) return {rich(tag, ClipLimits::maxCopyBytes - tag.size())};
        if (dice < 550) return {text(tag + words(random_() % 400 + 1))};
        if (dice < 700) return {text(QStringLiteral("https://example.com/%1/page").arg(n))};
        if (dice < 800)
            return {
                text(tag + QStringLiteral("\nconst value%1 = compute(%1);\n").repeated(random_() % 200 + 1))};
        if (dice < 950) return {rich(tag, static_cast<int>(random_() % (1 << 20)))};
        if (dice < 990) return {image(tag)};
        return {rich(tag, static_cast<int>(random_() % (8 << 20)))};
    }

private:
    static PasteboardItem text(const QString& s) { return textItem(s); }
    PasteboardItem rich(const QString& tag, int htmlBytes) {
        QByteArray html = big_.left(htmlBytes - static_cast<int>(tag.toUtf8().size()));
        html.prepend(tag.toUtf8());
        return PasteboardItem{{{ClipTypes::string, tag.toUtf8()}, {ClipTypes::html, html}}};
    }
    PasteboardItem image(const QString& tag) {
        // Mostly small pictures, now and then a photograph.
        const unsigned pick = random_() % 20;
        const QByteArray& png = images_[pick < 10 ? 0 : pick < 16 ? 1 : pick < 19 ? 2 : 3];
        return PasteboardItem{{{ClipTypes::string, tag.toUtf8()}, {ClipTypes::png, png}}};
    }
    QString words(unsigned count) {
        QString out;
        for (unsigned i = 0; i < count; ++i)
            out += QStringLiteral("word%1 ").arg(random_() % 5000);
        return out;
    }

    std::mt19937 random_{42};
    QByteArray big_ = QByteArray(ClipLimits::maxCopyBytes, 'h');
    // From a thumbnail-sized picture to a photograph-sized one.
    std::vector<QByteArray> images_ = {noisePng(64, 48, 1), noisePng(800, 600, 2), noisePng(1920, 1200, 3),
                                       pngBytes(4000, 3000, Qt::darkGreen)};
};

// Under the sanitizers freed memory waits in a quarantine, so resident memory says nothing there;
// the bounds are still checked, over fewer copies.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
constexpr bool kSanitized = __has_feature(address_sanitizer) || __has_feature(thread_sanitizer);
#else
constexpr bool kSanitized = false;
#endif

// What the history holds for its rows: the payloads, their search text and their thumbnails.
qint64 heldBytes(const ClipboardStore& store) {
    qint64 bytes = 0;
    for (const auto& e : store.entries()) {
        bytes += e.saved.payload.byteCount() + static_cast<qint64>(e.searchBytes());
        if (e.thumbnail()) bytes += e.thumbnail()->sizeInBytes();
    }
    return bytes;
}

TEST(ClipboardMemory, TenThousandCopiesKeepTheBoundsAndTheMemoryFlat) {
    const int copies = kSanitized ? 2'500 : 10'000;
    // Besides what the rows hold: the copy on the pasteboard, and the allocator's and Qt's own
    // slack. A row that kept a second copy of a large payload would exceed it.
    const qint64 allowance = ClipLimits::maxCopyBytes + (16 << 20);
    SimSession sim;
    sim.app("com.apple.Notes", "Notes").frontmost();
    ClipboardStore store(
        std::nullopt, sim.pasteboard, [] { return true; },
        ClipboardStoreServices{&sim.mainQueue, &sim.worker, [&sim] { return sim.workspace.frontmostApp(); },
                               &sim.clock, QStringLiteral("org.fenwold.Fenwold")});
    store.start();
    CopyMaker maker;
    const auto copy = [&](int n) {
        sim.pasteboard.copy(maker.next(n));
        sim.mainQueue.advance(ClipboardStore::pollInterval);
        sim.worker.runAll();
        sim.mainQueue.drain();
    };
    copy(0); // the first copy of each kind loads what decoding it needs
    const qint64 start = residentBytes();

    // Peaks of the first and second half of the day: the second may not climb above the first.
    qint64 firstHalfPeak = 0, secondHalfPeak = 0, worstOverBound = std::numeric_limits<qint64>::min();
    for (int n = 1; n < copies; ++n) {
        copy(n);
        qint64 bytes = 0;
        for (const auto& e : store.entries())
            bytes += e.saved.payload.byteCount();
        ASSERT_LE(store.entries().size(), 100u) << "copy " << n;
        ASSERT_LE(bytes, ClipLimits::maxHistoryBytes) << "copy " << n;
        if (kSanitized) continue;
        const qint64 resident = residentBytes();
        const qint64 over = resident - start - heldBytes(store) - allowance;
        worstOverBound = std::max(worstOverBound, over);
        ASSERT_LE(over, 0) << "copy " << n << ": " << (resident >> 20) << " MiB resident";
        (n < copies / 2 ? firstHalfPeak : secondHalfPeak) =
            std::max(n < copies / 2 ? firstHalfPeak : secondHalfPeak, resident);
    }
    if (kSanitized) return;
    EXPECT_LE(secondHalfPeak, firstHalfPeak + (16 << 20))
        << (firstHalfPeak >> 20) << " MiB, then " << (secondHalfPeak >> 20) << " MiB";
    std::printf("resident: start %lld MiB, peaks %lld and %lld MiB, closest to the bound %lld MiB under\n",
                start >> 20, firstHalfPeak >> 20, secondHalfPeak >> 20, -worstOverBound >> 20);
}

} // namespace
