#include "ClipboardEntry.h"

#include <QBuffer>
#include <QImageReader>
#include <algorithm>
#include <cstring>

namespace fenwold {

namespace {

constexpr int kThumbnailMaxPixels = 640;

bool isLineBreak(QChar c) {
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
        return false;
    }
}

} // namespace

ImagePreview makeImagePreview(const QByteArray& bytes) {
    ImagePreview preview;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    if (!reader.canRead()) return preview;
    // The stored pixel size, before any orientation is applied.
    const QSize size = reader.size();
    preview.dimensions = QStringLiteral("%1 × %2")
                             .arg(size.isValid() ? size.width() : 0)
                             .arg(size.isValid() ? size.height() : 0);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull()) return preview;
    if (image.width() > kThumbnailMaxPixels || image.height() > kThumbnailMaxPixels)
        image = image.scaled(kThumbnailMaxPixels, kThumbnailMaxPixels, Qt::KeepAspectRatio,
                             Qt::SmoothTransformation);
    preview.thumbnail = std::move(image);
    return preview;
}

namespace {

// Decompose, drop the combining marks, then fold case: "Café" and "CAFE" meet at "cafe".
void appendFolded(QStringView text, std::string& out) {
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString stripped;
    stripped.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) stripped.append(c);
    out += stripped.toCaseFolded().toStdString();
}

} // namespace

std::string foldForSearch(QStringView text) {
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    // ASCII folds to itself in lower case; only the stretches around other characters take the
    // full Unicode path. Cutting there changes nothing, since ASCII letters start a character.
    const char16_t* units = text.utf16();
    qsizetype i = 0;
    while (i < text.size()) {
        qsizetype j = i;
        while (j < text.size() && units[j] < 0x80)
            ++j;
        const std::size_t at = out.size();
        out.resize(at + static_cast<std::size_t>(j - i));
        std::transform(units + i, units + j, out.begin() + static_cast<std::ptrdiff_t>(at), [](char16_t c) {
            return static_cast<char>(c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c);
        });
        i = j;
        while (j < text.size() && units[j] >= 0x80)
            ++j;
        if (j > i) appendFolded(text.mid(i, j - i), out);
        i = j;
    }
    return out;
}

bool foldedContains(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    return memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
}

ClipboardEntry::ClipboardEntry(SavedClip savedClip, bool isPinned)
    : saved(std::move(savedClip)), pinned(isPinned) {
    fingerprint_ = std::make_shared<const QString>(saved.payload.fingerprint());
    text_ = std::make_shared<const QString>(saved.payload.text());
    kind_ = saved.payload.kind(*text_);
    if (const auto image = saved.payload.imageData()) {
        ImagePreview preview = makeImagePreview(*image);
        thumbnail_ = std::move(preview.thumbnail);
        dimensions_ = std::move(preview.dimensions);
    }
    foldedText_ = std::make_shared<const std::string>(foldForSearch(*text_));
    foldedSource_ = std::make_shared<const std::string>(foldForSearch(saved.source));
}

QString ClipboardEntry::title() const {
    switch (kind_) {
    case ClipKind::image:
        return QStringLiteral("Image");
    case ClipKind::link: {
        const auto url = ClipPayload::webURL(text());
        return url && !url->host().isEmpty() ? url->host() : QStringLiteral("Link");
    }
    case ClipKind::text:
    case ClipKind::code:
        break;
    }
    const QString& content = text();
    qsizetype start = 0;
    for (qsizetype i = 0; i <= content.size(); ++i) {
        if (i < content.size() && !isLineBreak(content[i])) continue;
        if (i > start) return firstCharacters(QStringView(content).mid(start, i - start), 100);
        start = i + 1;
    }
    return QStringLiteral("Text");
}

} // namespace fenwold
