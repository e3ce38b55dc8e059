#pragma once

#include "core/clipboard/ClipboardCode.h"

#include <QColor>
#include <QFont>
#include <QString>

class QTextDocument;

namespace fenwold {

// Colours, fonts and symbols of the shelf in the light or dark appearance.
struct ShelfStyle {
    bool dark = false;
    bool reduceTransparency = false;
    bool reduceMotion = false;
    bool blurredBehind = true; // the platform blurs what lies behind the panel

    QColor material() const;
    QColor label() const;
    QColor secondaryLabel() const;
    QColor card() const;
    QColor cardHover() const;
    QColor accent() const;
    QColor separator() const;

    static QFont systemFont(double points, QFont::Weight weight = QFont::Normal);
    static QFont monospaceFont(double points);
    // A glyph standing in for a platform symbol name.
    static QString symbol(const QString& name);
    // Highlighted code as a document in the given font, with extra space between lines.
    QTextDocument* codeDocument(const StyledText& styled, const QFont& font, QObject* parent,
                                double lineSpacing = 0) const;
};

} // namespace fenwold
