#pragma once

#include "ClipPayload.h"
#include "ImagePreview.h"

#include <QImage>
#include <QUuid>
#include <memory>
#include <string>
#include <string_view>

namespace fenwold {

// The persisted record of a clip.
struct SavedClip {
    QUuid id;
    ClipPayload payload;
    QString source; // display name of the frontmost application at capture, or "Unknown app"
    std::optional<QString> sourceID;
    double copiedAt = 0; // seconds since 2001-01-01 00:00:00 UTC

    friend bool operator==(const SavedClip&, const SavedClip&) = default;
};

// One shelf row. The derived fields are computed once, at construction, which hashes and
// decodes the payload: build entries for new captures off the main thread.
class ClipboardEntry {
public:
    ClipboardEntry(SavedClip saved, bool pinned);

    QUuid id() const { return saved.id; }
    // The one-line caption: "Image", a link's host, or the first non-empty line of text.
    const QString& title() const { return *title_; }
    // Whether the clip's text, folded for searching (case and diacritics removed), contains a
    // term folded the same way.
    bool textContains(std::string_view foldedTerm) const;
    // The source's name folded for searching, as UTF-8.
    const std::string& foldedSource() const { return *foldedSource_; }
    // The bytes kept only for searching: none for a text in ASCII, which is searched in place.
    std::size_t searchBytes() const { return foldedText_ ? foldedText_->size() : 0; }

    SavedClip saved;
    bool pinned = false;

    const QString& fingerprint() const { return *fingerprint_; }
    ClipKind kind() const { return kind_; }
    const std::optional<QImage>& thumbnail() const { return thumbnail_; }
    const std::optional<QString>& dimensions() const { return dimensions_; }
    // The clip's text, decoded when asked: the row keeps it as the payload's UTF-8 bytes, shared
    // with the payload, not as a second copy.
    QString text() const { return QString::fromUtf8(textUtf8_); }
    // The first count user-perceived characters of the text, decoding only about as much.
    QString textPrefix(int count) const;

private:
    // Shared so copies of an entry stay cheap however large the clip.
    std::shared_ptr<const QString> fingerprint_;
    ClipKind kind_ = ClipKind::text;
    std::optional<QImage> thumbnail_;
    std::optional<QString> dimensions_;
    QByteArray textUtf8_;
    std::shared_ptr<const QString> title_;
    // Only for a text beyond ASCII, whose folding needs Unicode's tables: an ASCII text's folded
    // form is its lower case, made while searching, so no second copy of a large clip is kept.
    std::shared_ptr<const std::string> foldedText_;
    bool hasCapitals_ = false;
    std::shared_ptr<const std::string> foldedSource_;
};

// Case- and diacritic-insensitive form of a text as UTF-8, for substring search. Text beyond
// ASCII folds a stretch of about `stretch` characters at a time, so a large text needs no large
// temporaries; the result does not depend on it.
std::string foldForSearch(QStringView text, qsizetype stretch = 1 << 16);
// Whether the folded haystack contains the folded needle (both UTF-8).
bool foldedContains(std::string_view haystack, std::string_view needle);

} // namespace fenwold
