// The pins file as the store finds it at start-up, with any bytes in it: an accepted file loads
// at most 20 pinned rows within 32 MiB, in file order ahead of what the shelf already shows; a
// rejected file loads nothing, changes nothing, is reported once and stays untouched.
#include "FuzzSupport.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/clipboard/PinsFile.h"
#include "platform/sim/SimSession.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace fenwold;
using fenwold::fuzz::bytesOf;

namespace {

struct Rig {
    SimSession sim;
    // Memory-backed where the system offers it: one file write per input.
    QTemporaryDir dir{QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/fenwold-fuzz-XXXXXX")
                                                 : QDir::tempPath() + QStringLiteral("/fenwold-fuzz-XXXXXX")};
    QString path = dir.filePath(QStringLiteral("clipboard-pins.json"));
};

Rig& rig() {
    static Rig r;
    return r;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = bytesOf(data, size);
    const auto decoded = PinsFile::decode(bytes);

    Rig& r = rig();
    {
        QFile file(r.path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(bytes);
    }
    ClipboardStore store(r.path, r.sim.pasteboard, [] { return false; },
                         ClipboardStoreServices{&r.sim.mainQueue, &r.sim.worker,
                                                [] { return std::optional<RunningApp>(); }, &r.sim.clock,
                                                QStringLiteral("org.fenwold.Fenwold")});
    const ClipboardEntry existing(
        SavedClip{QUuid::createUuid(), ClipPayload{{PasteboardItem{{{ClipTypes::string, "already here"}}}}},
                  QStringLiteral("Notes"), std::nullopt, 0},
        false);
    store.insert(existing);
    store.start();
    r.sim.worker.runAll();
    r.sim.mainQueue.drain();

    const auto& entries = store.entries();
    if (!decoded) {
        FUZZ_CHECK(entries.size() == 1 && entries[0].saved == existing.saved, "a rejected file changed the shelf");
        FUZZ_CHECK(store.message() == PinsFile::loadFailedMessage, "a rejected file was not reported");
        QFile file(r.path);
        file.open(QIODevice::ReadOnly);
        FUZZ_CHECK(file.readAll() == bytes, "a rejected file was touched");
        return 0;
    }
    FUZZ_CHECK(!store.message(), "an accepted file was reported as unreadable");
    // At most 20 records and 32 MiB of payload load, in file order, pinned, ahead of the clip.
    std::size_t pinned = 0;
    qint64 bytesPinned = 0;
    for (const auto& e : entries) {
        if (!e.pinned) continue;
        FUZZ_CHECK(pinned < entries.size() - 1 && entries[pinned].id() == e.id(), "pins are not at the front");
        ++pinned;
        bytesPinned += e.saved.payload.byteCount();
        FUZZ_CHECK(e.fingerprint() == e.saved.payload.fingerprint(), "a row's fingerprint is not its payload's");
    }
    FUZZ_CHECK(pinned <= std::min<std::size_t>(20, decoded->size()), "more pins than the file allows");
    FUZZ_CHECK(bytesPinned <= ClipLimits::maxPinnedBytes, "pins beyond the byte bound");
    FUZZ_CHECK(entries.back().saved.payload == existing.saved.payload, "the existing clip went missing");
    return 0;
}
