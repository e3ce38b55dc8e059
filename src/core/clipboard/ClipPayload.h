#pragma once

#include "ports/Pasteboard.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <optional>
#include <vector>

namespace fenwold {

// What a clip is, decided once from its content.
enum class ClipKind { text, image, link, code };

QString rawValue(ClipKind kind);
// The raw value with its first letter capitalised ("Text", "Image", "Link", "Code").
QString displayName(ClipKind kind);

namespace ClipTypes {
inline const QString string = QStringLiteral("public.utf8-plain-text");
inline const QString url = QStringLiteral("public.url");
inline const QString png = QStringLiteral("public.png");
inline const QString tiff = QStringLiteral("public.tiff");
inline const QString rtf = QStringLiteral("public.rtf");
inline const QString html = QStringLiteral("public.html");
inline const QString fileURL = QStringLiteral("public.file-url");
// The types a clip keeps, in the order capture asks each item for them.
inline const QStringList supported = {string, url, png, tiff, rtf, html};
} // namespace ClipTypes

// The bytes an item holds under a type, or null when it lists no such type.
const QByteArray* bytesFor(const PasteboardItem& item, const QString& type);

// The raw pasteboard content of one clip: its items in pasteboard order, each a list of types
// with their bytes.
struct ClipPayload {
    std::vector<PasteboardItem> items;

    // The first item's PNG bytes, else its TIFF bytes.
    std::optional<QByteArray> imageData() const;
    // Each item's plain text (or, lacking that, its URL) decoded as UTF-8, joined by line feeds.
    QString text() const;
    // The same text as UTF-8; it shares the item's bytes when one item gives all of it.
    QByteArray textUtf8() const;
    // Bytes over every type of every item.
    qint64 byteCount() const;
    ClipKind kind() const;
    // The kind, given the payload's text() already decoded.
    ClipKind kind(const QString& text) const;
    // 64 lowercase hex digits identifying the items, their types and bytes (not their source).
    QString fingerprint() const;

    // A web address when the whole trimmed text is one http(s) URL with a host.
    static std::optional<QUrl> webURL(const QString& text);
    // Whether the start of the text looks like source code or JSON.
    static bool isCode(const QString& text);

    // The pasteboard's current content as a payload, or nothing when privacy rules or bounds
    // forbid capturing it. sourceID is the frontmost application's bundle identifier.
    static std::optional<ClipPayload> capture(const Pasteboard& pasteboard,
                                              const std::optional<QString>& sourceID);
    // Put the payload back on the pasteboard, all types or only plain text. False (pasteboard
    // untouched) when there is nothing to write in the requested form.
    bool write(Pasteboard& pasteboard, bool plainText) const;

    friend bool operator==(const ClipPayload&, const ClipPayload&) = default;
};

namespace ClipLimits {
inline constexpr int maxItems = 20;
inline constexpr qint64 maxCopyBytes = 33554432;    // one captured copy
inline constexpr int maxEntries = 100;              // history
inline constexpr qint64 maxHistoryBytes = 67108864; // history, pins included
inline constexpr int maxPins = 20;
inline constexpr qint64 maxPinnedBytes = 33554432;
inline constexpr qint64 maxPinsFileBytes = 67108864;
} // namespace ClipLimits

// The first count user-perceived characters (grapheme clusters) of text.
QString firstCharacters(QStringView text, int count);
// The number of user-perceived characters.
qsizetype characterCount(QStringView text);

} // namespace fenwold
