#pragma once

#include "ClipboardEntry.h"

#include <QByteArrayView>
#include <QString>
#include <optional>
#include <vector>

namespace fenwold {

// The pins file: a compact JSON array of saved clips, most recent first, with Base64 bytes and
// capture times in seconds since 2001-01-01.
namespace PinsFile {

inline const QString relativePath = QStringLiteral("Fenwold/clipboard-pins.json");
inline const QString loadFailedMessage =
    QStringLiteral("Saved pins couldn’t be loaded. Recent clips still work.");
inline const QString saveFailedMessage =
    QStringLiteral("Pins couldn’t be saved to this Mac. They’ll last until Fenwold quits.");

QByteArray encode(const std::vector<SavedClip>& clips);
// Every record, or nothing when any record is malformed (no partial decoding).
std::optional<std::vector<SavedClip>> decode(QByteArrayView json);

// The outcome of reading the file.
struct LoadResult {
    bool failed = false;                 // unreadable: too large, unreadable, or malformed
    std::vector<ClipboardEntry> entries; // pinned entries to show, in file order
};
// Reads and bounds the file (20 records, 32 MiB of payload); a missing file loads nothing.
LoadResult load(const QString& path);
// Writes atomically into a private folder (0700) as a private file (0600); false on failure.
bool save(const QString& path, const std::vector<SavedClip>& clips);

} // namespace PinsFile

} // namespace fenwold
