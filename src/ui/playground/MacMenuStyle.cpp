#include "MacMenuStyle.h"

#include <QKeySequence>
#include <QStyleOptionMenuItem>

namespace fenwold {

namespace {

// The item's text with its key equivalent (after the tab) in the Mac's symbols.
QStyleOptionMenuItem withMacKeys(const QStyleOptionMenuItem& item) {
    QStyleOptionMenuItem mac(item);
    const qsizetype tab = mac.text.indexOf(QLatin1Char('\t'));
    if (tab >= 0) mac.text = mac.text.left(tab + 1) + MacMenuStyle::macKeys(mac.text.mid(tab + 1));
    return mac;
}

} // namespace

QString MacMenuStyle::macKeys(const QString& shortcut) {
    const QKeySequence keys = QKeySequence::fromString(shortcut, QKeySequence::NativeText);
    if (keys.isEmpty()) return shortcut;
    const QKeyCombination combination = keys[0];
    const Qt::KeyboardModifiers mods = combination.keyboardModifiers();
    // In the order a Mac's menus write them.
    QString text;
    for (const auto& [modifier, symbol] :
         {std::pair{Qt::MetaModifier, u'\u2303'}, std::pair{Qt::AltModifier, u'\u2325'},
          std::pair{Qt::ShiftModifier, u'\u21E7'}, std::pair{Qt::ControlModifier, u'\u2318'}})
        if (mods & modifier) text += QChar(symbol);
    return text + QKeySequence(combination.key()).toString(QKeySequence::NativeText);
}

void MacMenuStyle::drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                               const QWidget* widget) const {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        item && element == CE_MenuItem) {
        const QStyleOptionMenuItem mac = withMacKeys(*item);
        QProxyStyle::drawControl(element, &mac, painter, widget);
        return;
    }
    QProxyStyle::drawControl(element, option, painter, widget);
}

QSize MacMenuStyle::sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                                     const QWidget* widget) const {
    if (const auto* item = qstyleoption_cast<const QStyleOptionMenuItem*>(option);
        item && type == CT_MenuItem) {
        const QStyleOptionMenuItem mac = withMacKeys(*item);
        return QProxyStyle::sizeFromContents(type, &mac, size, widget);
    }
    return QProxyStyle::sizeFromContents(type, option, size, widget);
}

} // namespace fenwold
