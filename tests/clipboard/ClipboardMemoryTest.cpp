// A long day of copying: ten thousand copies of every kind and size, up to the bound of one copy,
// pass through the capture store. The history's bounds hold after every copy, and the memory the
// program keeps stays within them plus a fixed allowance: nothing accumulates.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardStore.h"
#include "platform/sim/SimSession.h"

#include <QFile>
#include <gtest/gtest.h>

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
        if (dice < 800) return {text(tag + QStringLiteral("\nconst value%1 = compute(%1);\n").repeated(random_() % 200 + 1))};
        if (dice < 950) return {rich(tag, static_cast<int>(random_() % (1 << 20)))};
        if (dice < 990) return {image(tag)};
        return {rich(tag, static_cast<int>(random_() % (8 << 20)))};
    }

private:
    static PasteboardItem text(const QString& s) { return textItem(s); }
    PasteboardItem rich(const QString& tag, int htmlBytes) {
        if (big_.size() < htmlBytes) big_ = QByteArray(ClipLimits::maxCopyBytes, 'h');
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
    QByteArray big_;
    // From a thumbnail-sized picture to a photograph-sized one.
    std::vector<QByteArray> images_ = {noisePng(64, 48, 1), noisePng(800, 600, 2), noisePng(1920, 1200, 3),
                                       pngBytes(4000, 3000, Qt::darkGreen)};
};

TEST(ClipboardMemory, TenThousandCopiesKeepTheBoundsAndTheMemoryFlat) {
    SimSession sim;
    sim.app("com.apple.Notes", "Notes").frontmost();
    ClipboardStore store(std::nullopt, sim.pasteboard, [] { return true; },
                         ClipboardStoreServices{&sim.mainQueue, &sim.worker,
                                                [&sim] { return sim.workspace.frontmostApp(); }, &sim.clock,
                                                QStringLiteral("org.fenwold.Fenwold")});
    store.start();
    CopyMaker copies;
    const auto copy = [&](int n) {
        sim.pasteboard.copy(copies.next(n));
        sim.mainQueue.advance(ClipboardStore::pollInterval);
        sim.worker.runAll();
        sim.mainQueue.drain();
    };
    // The history fills first, so what follows only replaces what it holds.
    for (int n = 0; n < 300; ++n)
        copy(n);
    const qint64 baseline = residentBytes();

    qint64 peak = baseline;
    for (int n = 300; n < 10'000; ++n) {
        copy(n);
        qint64 bytes = 0;
        for (const auto& e : store.entries())
            bytes += e.saved.payload.byteCount();
        ASSERT_LE(store.entries().size(), 100u) << "copy " << n;
        ASSERT_LE(bytes, ClipLimits::maxHistoryBytes) << "copy " << n;
        peak = std::max(peak, residentBytes());
    }
    RecordProperty("baselineMiB", static_cast<int>(baseline >> 20));
    RecordProperty("peakMiB", static_cast<int>(peak >> 20));
    RecordProperty("finalMiB", static_cast<int>(residentBytes() >> 20));
    std::printf("resident: baseline %lld MiB, peak %lld MiB, final %lld MiB\n", baseline >> 20, peak >> 20,
                residentBytes() >> 20);
}

} // namespace
