#include "ClipPayload.h"

#include "IcuRegex.h"
#include "Sha256.h"
#include "WebURL.h"

#include <QTextBoundaryFinder>
#include <QUtf8StringView>
#include <algorithm>
#include <nlohmann/json.hpp>

namespace fenwold {

QString rawValue(ClipKind kind) {
    switch (kind) {
    case ClipKind::text:
        return QStringLiteral("text");
    case ClipKind::image:
        return QStringLiteral("image");
    case ClipKind::link:
        return QStringLiteral("link");
    case ClipKind::code:
        return QStringLiteral("code");
    }
    return {};
}

QString displayName(ClipKind kind) {
    QString name = rawValue(kind);
    name[0] = name[0].toUpper();
    return name;
}

const QByteArray* bytesFor(const PasteboardItem& item, const QString& type) {
    for (const auto& [name, bytes] : item.types)
        if (name == type) return &bytes;
    return nullptr;
}

std::optional<QByteArray> ClipPayload::imageData() const {
    if (items.empty()) return std::nullopt;
    if (const auto* png = bytesFor(items.front(), ClipTypes::png)) return *png;
    if (const auto* tiff = bytesFor(items.front(), ClipTypes::tiff)) return *tiff;
    return std::nullopt;
}

QByteArray ClipPayload::textUtf8() const {
    QByteArray joined;
    int parts = 0;
    for (const auto& item : items) {
        const QByteArray* bytes = bytesFor(item, ClipTypes::string);
        if (!bytes) bytes = bytesFor(item, ClipTypes::url);
        // Undecodable plain text does not fall back to the URL bytes.
        if (!bytes || !QUtf8StringView(*bytes).isValidUtf8()) continue;
        if (parts++ == 0) {
            joined = *bytes; // shared, not copied
            continue;
        }
        joined += '\n';
        joined += *bytes;
    }
    return joined;
}

QString ClipPayload::text() const {
    return QString::fromUtf8(textUtf8());
}

qint64 ClipPayload::byteCount() const {
    qint64 total = 0;
    for (const auto& item : items)
        for (const auto& [type, bytes] : item.types)
            total += bytes.size();
    return total;
}

ClipKind ClipPayload::kind() const {
    return kind(text());
}

ClipKind ClipPayload::kind(const QString& content) const {
    if (imageData()) return ClipKind::image;
    if (webURL(content)) return ClipKind::link;
    if (isCode(content)) return ClipKind::code;
    return ClipKind::text;
}

QString ClipPayload::fingerprint() const {
    Sha256 hash;
    const char separator = 0;
    for (const auto& item : items) {
        hash.update(&separator, 1);
        // Types in ascending byte order, so the order an item lists them in does not matter.
        std::vector<std::pair<QByteArray, const QByteArray*>> types;
        types.reserve(item.types.size());
        for (const auto& [type, bytes] : item.types)
            types.emplace_back(type.toUtf8(), &bytes);
        std::sort(types.begin(), types.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
        for (const auto& [type, bytes] : types) {
            const QByteArray header =
                QByteArray::number(type.size()) + ':' + type + ':' + QByteArray::number(bytes->size()) + ':';
            hash.update(header.constData(), static_cast<std::size_t>(header.size()));
            hash.update(bytes->constData(), static_cast<std::size_t>(bytes->size()));
        }
    }
    const auto digest = hash.finish();
    return QString::fromLatin1(
        QByteArray(reinterpret_cast<const char*>(digest.data()), static_cast<qsizetype>(digest.size()))
            .toHex());
}

std::optional<QUrl> ClipPayload::webURL(const QString& text) {
    const QString trimmed = text.trimmed();
    if (std::any_of(trimmed.begin(), trimmed.end(), [](QChar c) { return c.isSpace(); })) return std::nullopt;
    auto url = parseLenientURL(trimmed);
    if (!url) return std::nullopt;
    const QString scheme = url->scheme().toLower();
    if (scheme != QLatin1String("https") && scheme != QLatin1String("http")) return std::nullopt;
    if (url->host().isEmpty()) return std::nullopt;
    return url;
}

QString firstCharacters(QStringView text, int count) {
    if (text.size() <= count) return text.toString(); // never more clusters than code units
    // ASCII has no marks or joiners: each character is one user-perceived character, CR LF
    // together one. A boundary so found holds when an ASCII character follows it, which no later
    // character can join; most texts are told this way without finding boundaries.
    const char16_t* units = text.utf16();
    qsizetype at = 0;
    int seen = 0;
    while (seen < count && at < text.size() && units[at] < 0x80) {
        at += units[at] == u'\r' && at + 1 < text.size() && units[at + 1] == u'\n' ? 2 : 1;
        ++seen;
    }
    if (seen == count && (at == text.size() || units[at] < 0x80)) return text.left(at).toString();
    // Boundaries are found in a window that grows until it holds count characters: a boundary
    // before the window's end depends only on the text up to it, so a long clip is not analysed
    // past what is taken.
    for (qsizetype window = std::min<qsizetype>(text.size(), qsizetype(count) * 2 + 16);; window *= 2) {
        window = std::min(window, text.size());
        QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), window);
        qsizetype position = 0;
        int seen = 0;
        while (seen < count) {
            const qsizetype next = finder.toNextBoundary();
            if (next < 0) break;
            position = next;
            ++seen;
        }
        if (window == text.size()) return text.left(position).toString();
        if (seen == count && position < window) return text.left(position).toString();
    }
}

qsizetype characterCount(QStringView text) {
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text.data(), text.size());
    qsizetype count = 0;
    while (finder.toNextBoundary() >= 0)
        ++count;
    return count;
}

bool ClipPayload::isCode(const QString& text) {
    const QString head = firstCharacters(text, 12000).trimmed();
    if (head.startsWith(QLatin1String("```")) || head.startsWith(QLatin1String("#!/"))) return true;
    if (head.startsWith(QLatin1Char('{')) || head.startsWith(QLatin1Char('['))) {
        if (nlohmann::json::accept(head.toStdString())) return true;
    }
    static const IcuRegex codeLine(
        uR"((?m)^\s*(import \w|from \w+ import |(?:export )?(?:const|let|var|func|function|class|struct|)"
        uR"(enum|def|async function) \w|(?:if|for|while)\s*\(.+\)\s*\{|(?:SELECT|INSERT INTO|)"
        uR"(CREATE TABLE)\s|</?[a-zA-Z][^>]*>))");
    return codeLine.search(head);
}

} // namespace fenwold
