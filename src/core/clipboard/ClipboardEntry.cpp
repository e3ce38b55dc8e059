#include "ClipboardEntry.h"

#include <algorithm>
#include <cstring>

namespace fenwold {

namespace {

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

// ASCII's only folding: its capitals to lower case.
template <typename Unit>
char lowerAscii(Unit c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c);
}

// Decompose, drop the combining marks, then fold case: "Café" and "CAFE" meet at "cafe".
void appendFolded(QStringView text, std::string& out) {
    const QString decomposed = text.toString().normalized(QString::NormalizationForm_KD);
    QString stripped;
    stripped.reserve(decomposed.size());
    for (QChar c : decomposed)
        if (c.category() != QChar::Mark_NonSpacing) stripped.append(c);
    out += stripped.toCaseFolded().toStdString();
}

// Whether a character begins at i that nothing before it can reorder or combine with: not the
// second half of a surrogate pair, not a mark, not a character of a nonzero combining class.
bool startsStretch(QStringView text, qsizetype i) {
    if (text[i].isLowSurrogate()) return false;
    char32_t c = text[i].unicode();
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        c = QChar::surrogateToUcs4(text[i], text[i + 1]);
    const auto category = QChar::category(c);
    return QChar::combiningClass(c) == 0 && category != QChar::Mark_NonSpacing &&
           category != QChar::Mark_SpacingCombining && category != QChar::Mark_Enclosing;
}

} // namespace

std::string foldForSearch(QStringView text, qsizetype stretch) {
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
        std::transform(units + i, units + j, out.begin() + static_cast<std::ptrdiff_t>(at),
                       lowerAscii<char16_t>);
        i = j;
        while (j < text.size() && units[j] >= 0x80)
            ++j;
        // Decomposition only reorders marks after a base character and case folding maps each
        // character alone, so a long run cut before a base character folds as it would whole.
        while (i < j) {
            qsizetype cut = std::min(j, i + std::max<qsizetype>(stretch, 1));
            while (cut < j && !startsStretch(text, cut))
                ++cut;
            appendFolded(text.mid(i, cut - i), out);
            i = cut;
        }
    }
    return out;
}

bool foldedContains(std::string_view haystack, std::string_view needle) {
    if (needle.empty()) return true;
    return memmem(haystack.data(), haystack.size(), needle.data(), needle.size()) != nullptr;
}

namespace {

QString titleOf(ClipKind kind, const QString& content) {
    switch (kind) {
    case ClipKind::image:
        return QStringLiteral("Image");
    case ClipKind::link: {
        const auto url = ClipPayload::webURL(content);
        return url && !url->host().isEmpty() ? url->host() : QStringLiteral("Link");
    }
    case ClipKind::text:
    case ClipKind::code:
        break;
    }
    qsizetype start = 0;
    for (qsizetype i = 0; i <= content.size(); ++i) {
        if (i < content.size() && !isLineBreak(content[i])) continue;
        if (i > start) return firstCharacters(QStringView(content).mid(start, i - start), 100);
        start = i + 1;
    }
    return QStringLiteral("Text");
}

// Enough of a text in ASCII for its kind and caption: twice the characters the test for code reads
// (a line end may be two bytes but one character), and room for a caption after its first line's
// start.
constexpr qsizetype kHeadBytes = 32 * 1024;
constexpr qsizetype kCaptionRoom = 256;

bool isAsciiSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// Whether the head of a text in ASCII tells its kind and caption as the whole would: it is longer
// than the head, so the test for code sees the same first characters; it has a space between its
// first and last visible characters, so it is no link; and its first line begins early enough in
// the head for the caption's characters to be there.
bool headTellsAll(QByteArrayView ascii) {
    if (ascii.size() <= kHeadBytes) return false;
    const auto visible = [](char c) { return !isAsciiSpace(c); };
    const auto first = std::find_if(ascii.begin(), ascii.end(), visible);
    const auto last = std::find_if(ascii.rbegin(), ascii.rend(), visible).base();
    if (std::none_of(first, last, isAsciiSpace)) return false;
    const auto lineStart =
        std::find_if(ascii.begin(), ascii.end(), [](char c) { return c < '\n' || c > '\r'; });
    return lineStart - ascii.begin() < kHeadBytes - kCaptionRoom;
}

// Whether a text's bytes are all ASCII and, if so, whether any is a capital: one pass in blocks
// with no early exit inside, which the compiler turns into many bytes per comparison (a pinned
// record can be megabytes).
struct ByteFacts {
    bool ascii = true;
    bool capitals = false;
};
ByteFacts factsOf(QByteArrayView bytes) {
    constexpr qsizetype block = 4096;
    ByteFacts facts;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    for (qsizetype at = 0; at < bytes.size(); at += block) {
        const qsizetype end = std::min(bytes.size(), at + block);
        unsigned char high = 0, capital = 0;
        for (qsizetype i = at; i < end; ++i) {
            high |= data[i];
            capital |= static_cast<unsigned char>(data[i] - 'A') < 26;
        }
        if (high & 0x80) return {false, false};
        facts.capitals = facts.capitals || capital;
    }
    return facts;
}

} // namespace

ClipboardEntry::ClipboardEntry(SavedClip savedClip, bool isPinned)
    : saved(std::move(savedClip)), pinned(isPinned), textUtf8_(saved.payload.textUtf8()) {
    fingerprint_ = std::make_shared<const QString>(saved.payload.fingerprint());
    const auto bytes = QByteArrayView(textUtf8_);
    const ByteFacts facts = factsOf(bytes);
    const bool ascii = facts.ascii;
    // The decoded text is needed only while the fixed fields are worked out, and of a long text in
    // ASCII only its head: a pinned record of megabytes is not decoded whole when pins load.
    const QString content =
        ascii && headTellsAll(bytes) ? QString::fromLatin1(bytes.first(kHeadBytes)) : text();
    kind_ = saved.payload.kind(content);
    // The caption is at most a line of 100 characters; keeping it saves finding it in a large
    // text at every redraw.
    title_ = std::make_shared<const QString>(titleOf(kind_, content));
    if (const auto image = saved.payload.imageData()) {
        ImagePreview preview = makeImagePreview(*image);
        thumbnail_ = std::move(preview.thumbnail);
        dimensions_ = std::move(preview.dimensions);
    }
    if (!ascii)
        foldedText_ = std::make_shared<const std::string>(foldForSearch(content));
    else
        hasCapitals_ = facts.capitals;
    foldedSource_ = std::make_shared<const std::string>(foldForSearch(saved.source));
}

bool ClipboardEntry::textContains(std::string_view foldedTerm) const {
    if (foldedText_) return foldedContains(*foldedText_, foldedTerm);
    const std::string_view text(textUtf8_.constData(), static_cast<std::size_t>(textUtf8_.size()));
    if (!hasCapitals_ || foldedTerm.empty()) return foldedContains(text, foldedTerm);
    // Lower-case a block at a time and search it, each block overlapping the last by the term's
    // length less one so a match across a boundary is seen whole.
    constexpr std::size_t block = 64 * 1024;
    const std::size_t overlap = foldedTerm.size() - 1;
    std::string lowered(std::min(text.size(), block + overlap), '\0');
    for (std::size_t at = 0; at + overlap < text.size(); at += block) {
        const std::size_t length = std::min(text.size() - at, block + overlap);
        std::transform(text.begin() + static_cast<std::ptrdiff_t>(at),
                       text.begin() + static_cast<std::ptrdiff_t>(at + length), lowered.begin(),
                       lowerAscii<char>);
        if (foldedContains(std::string_view(lowered.data(), length), foldedTerm)) return true;
    }
    return false;
}

QString ClipboardEntry::textPrefix(int count) const {
    // Decode a growing head of the bytes until it holds two characters more than asked for: a
    // head cut inside a character garbles only its last one, which then cannot move the
    // boundary after the characters kept.
    for (qsizetype head = 4 * qsizetype(count) + 64;; head *= 2) {
        if (head >= textUtf8_.size()) return firstCharacters(text(), count);
        const QString decoded = QString::fromUtf8(textUtf8_.left(head));
        const QString kept = firstCharacters(decoded, count + 2);
        if (kept.size() < decoded.size()) return firstCharacters(kept, count);
    }
}

} // namespace fenwold
