// The pins file reader, on any bytes a user or another program leaves in the file: a file is
// read whole or not at all, an accepted one re-encodes and reads back to the same records and
// fingerprints, and its records make rows whose identity is their payload's.
#include "FuzzSupport.h"
#include "core/clipboard/ClipboardEntry.h"
#include "core/clipboard/PinsFile.h"

using namespace fenwold;

namespace {

std::vector<QString> fingerprints(const std::vector<SavedClip>& clips) {
    std::vector<QString> out;
    for (const auto& c : clips)
        out.push_back(c.payload.fingerprint());
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const auto decoded = PinsFile::decode(fuzz::bytesOf(data, size));
    if (!decoded) return 0;

    const QByteArray again = PinsFile::encode(*decoded);
    const auto reread = PinsFile::decode(again);
    FUZZ_CHECK(reread.has_value(), "re-encoded pins do not read back: " + again.left(400).toStdString());
    FUZZ_CHECK(*reread == *decoded, "re-encoded pins read back different records");
    FUZZ_CHECK(fingerprints(*reread) == fingerprints(*decoded), "fingerprints changed on the way");
    FUZZ_CHECK(PinsFile::encode(*reread) == again, "encoding is not stable");

    // The rows the shelf shows for the first records.
    for (std::size_t i = 0; i < std::min<std::size_t>(decoded->size(), 20); ++i) {
        const ClipboardEntry row((*decoded)[i], true);
        FUZZ_CHECK(row.fingerprint() == (*decoded)[i].payload.fingerprint(), "a row's fingerprint is not its payload's");
        FUZZ_CHECK(row.saved == (*decoded)[i], "a row changed its record");
    }
    return 0;
}
