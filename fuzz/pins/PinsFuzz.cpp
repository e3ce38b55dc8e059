// The pins file reader, on any bytes a user or another program leaves in the file: a file is
// read whole or not at all; an accepted one re-encodes and reads back to the same records and
// fingerprints, and loads as at most 20 pinned rows within 32 MiB of payload, in file order, each
// row's identity its payload's; a rejected one loads nothing. The Base64 its payloads are written
// in decodes, a block at a time where the processor allows it, to what decoding one group at a
// time gives.
#include "FuzzSupport.h"
#include "core/clipboard/Base64.h"
#include "core/clipboard/ClipboardEntry.h"
#include "core/clipboard/PinsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace fenwold;

namespace {

std::vector<QString> fingerprints(const std::vector<SavedClip>& clips) {
    std::vector<QString> out;
    for (const auto& c : clips)
        out.push_back(c.payload.fingerprint());
    return out;
}

// The file the start-up load reads, in memory where the system offers it.
const QString& pinsPath() {
    static QTemporaryDir dir{QDir("/dev/shm").exists()
                                 ? QStringLiteral("/dev/shm/fenwold-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/fenwold-fuzz-XXXXXX")};
    static const QString path = dir.filePath(QStringLiteral("clipboard-pins.json"));
    return path;
}

// The bytes as Base64 both ways: as they are (mostly refused), and with each byte but a trailing
// "=" turned into a character of the alphabet, so long texts decode and any fault is in the bytes.
void checkBase64(const QByteArray& bytes) {
    const std::string_view raw(bytes.constData(), static_cast<std::size_t>(bytes.size()));
    FUZZ_CHECK(Base64::decode(raw) == Base64::decodeByGroups(raw), "Base64 decodes differently by blocks");
    static constexpr std::string_view alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text(raw);
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] != '=' || i + 2 < text.size())
            text[i] = alphabet[static_cast<unsigned char>(text[i]) % 64];
    FUZZ_CHECK(Base64::decode(text) == Base64::decodeByGroups(text),
               "Base64 decodes differently by blocks: " + text.substr(0, 400));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray bytes = fuzz::bytesOf(data, size);
    checkBase64(bytes);
    const auto decoded = PinsFile::decode(bytes);

    {
        QFile file(pinsPath());
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            std::abort();
    }
    const PinsFile::LoadResult loaded = PinsFile::load(pinsPath());
    FUZZ_CHECK(loaded.failed == !decoded.has_value(), "the load and the reader disagree");
    if (!decoded) {
        FUZZ_CHECK(loaded.entries.empty(), "a rejected file loaded rows");
        return 0;
    }

    const QByteArray again = PinsFile::encode(*decoded);
    const auto reread = PinsFile::decode(again);
    FUZZ_CHECK(reread.has_value(), "re-encoded pins do not read back: " + again.left(400).toStdString());
    FUZZ_CHECK(*reread == *decoded, "re-encoded pins read back different records");
    FUZZ_CHECK(fingerprints(*reread) == fingerprints(*decoded), "fingerprints changed on the way");
    FUZZ_CHECK(PinsFile::encode(*reread) == again, "encoding is not stable");

    // The rows: the file's first records, pinned, each as the file holds it, within the bounds.
    FUZZ_CHECK(loaded.entries.size() <= std::min<std::size_t>(20, decoded->size()), "more rows than allowed");
    qint64 total = 0;
    for (std::size_t i = 0; i < loaded.entries.size(); ++i) {
        const ClipboardEntry& row = loaded.entries[i];
        FUZZ_CHECK(row.pinned, "a loaded row is not pinned");
        FUZZ_CHECK(row.saved == (*decoded)[i], "row " + std::to_string(i) + " is not the file's record");
        FUZZ_CHECK(row.fingerprint() == row.saved.payload.fingerprint(),
                   "a row's fingerprint is not its payload's");
        total += row.saved.payload.byteCount();
    }
    FUZZ_CHECK(total <= ClipLimits::maxPinnedBytes, "rows beyond the pinned bytes");
    // A record left out is one the bounds forbid.
    if (loaded.entries.size() < std::min<std::size_t>(20, decoded->size()))
        FUZZ_CHECK(total + (*decoded)[loaded.entries.size()].payload.byteCount() > ClipLimits::maxPinnedBytes,
                   "a record within the bounds was left out");
    return 0;
}
