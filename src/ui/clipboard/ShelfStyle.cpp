#include "ShelfStyle.h"

#include <QFontDatabase>
#include <QHash>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace fenwold {

QColor ShelfStyle::material() const {
    if (reduceTransparency) return dark ? QColor(30, 30, 32) : QColor(236, 236, 236);
    // Translucent over the platform's blur. Where nothing blurs what lies behind, opaque: the
    // windows beneath would read through it, and the panel would look frosted only where they are
    // dark.
    QColor colour = dark ? QColor(36, 36, 40) : QColor(246, 246, 248);
    colour.setAlpha(blurredBehind ? 236 : 255);
    return colour;
}
QColor ShelfStyle::label() const {
    return dark ? QColor(255, 255, 255, 230) : QColor(0, 0, 0, 220);
}
QColor ShelfStyle::secondaryLabel() const {
    return dark ? QColor(235, 235, 245, 153) : QColor(60, 60, 67, 153);
}
QColor ShelfStyle::card() const {
    return dark ? QColor(255, 255, 255, 20) : QColor(255, 255, 255, 200);
}
QColor ShelfStyle::cardHover() const {
    return dark ? QColor(255, 255, 255, 34) : QColor(255, 255, 255, 250);
}
QColor ShelfStyle::accent() const {
    return dark ? QColor(10, 132, 255) : QColor(0, 122, 255);
}
QColor ShelfStyle::separator() const {
    return dark ? QColor(255, 255, 255, 30) : QColor(0, 0, 0, 28);
}

QFont ShelfStyle::systemFont(double points, QFont::Weight weight) {
    // Sizes are the platform's points, which are logical pixels.
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    font.setPixelSize(qRound(points));
    font.setWeight(weight);
    return font;
}

QFont ShelfStyle::monospaceFont(double points) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(qRound(points));
    return font;
}

QString ShelfStyle::symbol(const QString& name) {
    static const QHash<QString, QString> glyphs = {
        {QStringLiteral("clipboard"), QStringLiteral("▤")},
        {QStringLiteral("magnifyingglass"), QStringLiteral("⌕")},
        {QStringLiteral("xmark.circle.fill"), QStringLiteral("⊗")},
        {QStringLiteral("xmark.circle"), QStringLiteral("⊗")},
        {QStringLiteral("ellipsis.circle"), QStringLiteral("⋯")},
        {QStringLiteral("xmark"), QStringLiteral("✕")},
        {QStringLiteral("pin"), QStringLiteral("⚲")},
        {QStringLiteral("pin.fill"), QStringLiteral("●")},
        {QStringLiteral("text.alignleft"), QStringLiteral("≡")},
        {QStringLiteral("photo"), QStringLiteral("▣")},
        {QStringLiteral("link"), QStringLiteral("∞")},
        {QStringLiteral("chevron.left.forwardslash.chevron.right"), QStringLiteral("</>")},
        {QStringLiteral("arrow.up.right.square"), QStringLiteral("↗")},
        {QStringLiteral("pause.circle"), QStringLiteral("⏸")},
        {QStringLiteral("lock"), QStringLiteral("⊙")},
    };
    return glyphs.value(name, QStringLiteral("•"));
}

QTextDocument* ShelfStyle::codeDocument(const StyledText& styled, const QFont& font, QObject* parent,
                                        double lineSpacing) const {
    auto* document = new QTextDocument(parent);
    document->setDefaultFont(font);
    document->setDocumentMargin(0);
    document->setPlainText(styled.text);
    QTextCursor cursor(document);
    QTextCharFormat base;
    base.setForeground(label());
    cursor.select(QTextCursor::Document);
    cursor.mergeCharFormat(base);
    if (lineSpacing > 0) {
        QTextBlockFormat spacing;
        spacing.setLineHeight(lineSpacing, QTextBlockFormat::LineDistanceHeight);
        cursor.mergeBlockFormat(spacing);
    }
    for (const ColorRun& run : styled.runs) {
        QTextCharFormat format;
        format.setForeground(ClipboardCode::color(run.color, dark));
        cursor.setPosition(static_cast<int>(run.start));
        cursor.setPosition(static_cast<int>(run.start + run.length), QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(format);
    }
    return document;
}

} // namespace fenwold
