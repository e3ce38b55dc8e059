// Clip classification and captions on any payload of the six clip types: the kind follows its
// rule, the title is one short line, the fingerprint ignores the order of an item's types, and
// search finds a clip by any line of its own text.
//
// Input: pieces separated by 0x1E. A piece's first byte names its type (the byte modulo 6, in
// the order capture asks for them); with its top bit set the piece starts a new item. The rest
// of the piece is the value.
#include "FuzzSupport.h"
#include "core/clipboard/ClipboardEntry.h"

#include <QRegularExpression>

using namespace fenwold;
using fenwold::fuzz::quoted;

namespace {

ClipPayload payloadOf(const QByteArray& input) {
    ClipPayload payload;
    for (const QByteArray& piece : input.split('\x1e')) {
        if (piece.isEmpty()) continue;
        const auto tag = static_cast<uint8_t>(piece[0]);
        if (payload.items.empty() || (tag & 0x80)) payload.items.emplace_back();
        auto& types = payload.items.back().types;
        const QString& type = ClipTypes::supported[tag % 6];
        // An item lists a type once, as a pasteboard item does.
        if (!bytesFor(payload.items.back(), type)) types.emplace_back(type, piece.mid(1));
    }
    return payload;
}

bool hasLineBreak(const QString& text) {
    for (QChar c : text)
        switch (c.unicode()) {
        case 0x0A:
        case 0x0B:
        case 0x0C:
        case 0x0D:
        case 0x85:
        case 0x2028:
        case 0x2029:
            return true;
        default:
            break;
        }
    return false;
}

std::string folded(const QString& text) {
    return foldForSearch(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return -1; // larger inputs only slow the search down
    const ClipPayload payload = payloadOf(fuzz::bytesOf(data, size));
    const ClipboardEntry entry(SavedClip{QUuid(), payload, QStringLiteral("Fuzz"), std::nullopt, 0}, false);

    // Kind: image data first, then a web address, then code, else text.
    const QString& text = entry.text();
    const ClipKind expected = payload.imageData()         ? ClipKind::image
                              : ClipPayload::webURL(text) ? ClipKind::link
                              : ClipPayload::isCode(text) ? ClipKind::code
                                                          : ClipKind::text;
    FUZZ_CHECK(entry.kind() == expected, "kind " + rawValue(entry.kind()).toStdString());
    FUZZ_CHECK(QString::fromUtf8(text.toUtf8()) == text, "the text is not whole Unicode");

    const QString title = entry.title();
    FUZZ_CHECK(!title.isEmpty(), "empty title");
    // A text's caption is cut to 100 characters; a link's is its whole host, however long.
    FUZZ_CHECK(entry.kind() == ClipKind::link || characterCount(title) <= 100,
               "title longer than 100 characters: " + quoted(title));
    FUZZ_CHECK(!hasLineBreak(title), "title with a line break: " + quoted(title));
    if (entry.kind() == ClipKind::link) {
        const auto url = ClipPayload::webURL(text);
        FUZZ_CHECK(url && (url->scheme().toLower() == "http" || url->scheme().toLower() == "https") &&
                       !url->host().isEmpty() && title == url->host(),
                   "link title " + quoted(title));
    }

    // Identity: 64 lowercase hex digits, whatever order an item lists its types in.
    const QString& fingerprint = entry.fingerprint();
    static const QRegularExpression hex(QStringLiteral("^[0-9a-f]{64}$"));
    FUZZ_CHECK(hex.match(fingerprint).hasMatch(), "fingerprint " + fingerprint.toStdString());
    ClipPayload reordered = payload;
    for (auto& item : reordered.items)
        std::reverse(item.types.begin(), item.types.end());
    FUZZ_CHECK(reordered.fingerprint() == fingerprint, "the order of types changed the fingerprint");
    qint64 bytes = 0;
    for (const auto& item : payload.items)
        for (const auto& [type, value] : item.types)
            bytes += value.size();
    FUZZ_CHECK(payload.byteCount() == bytes, "byte count");

    // Search: typing any line of the clip, or its caption, finds it.
    const std::string haystack = folded(text);
    FUZZ_CHECK(QString::fromStdString(haystack).toStdString() == haystack, "folded text is not UTF-8");
    for (const QString& line : text.split(QLatin1Char('\n')))
        FUZZ_CHECK(entry.textContains(folded(line)), "a line of the clip does not find it: " + quoted(line));
    const bool captioned =
        std::any_of(text.begin(), text.end(), [](QChar c) { return !hasLineBreak(QString(c)); });
    if ((entry.kind() == ClipKind::text || entry.kind() == ClipKind::code) && captioned)
        FUZZ_CHECK(entry.textContains(folded(title)), "the title does not find its clip: " + quoted(title));
    // The row searches an ASCII text in place; it must find exactly what the whole folded text
    // holds, so try pieces of it, some with one byte changed, at places the input's size picks.
    for (std::size_t k = 1; k <= 4 && !haystack.empty(); ++k) {
        const std::size_t at = (size * 7919 * k) % haystack.size();
        std::string term = haystack.substr(at, 1 + (size * k) % 24);
        if (k % 2 == 0) term.back() = static_cast<char>(term.back() ^ 0x20);
        FUZZ_CHECK(entry.textContains(term) == foldedContains(haystack, term),
                   "searching in place disagrees with the folded text for " + term);
    }
    return 0;
}
