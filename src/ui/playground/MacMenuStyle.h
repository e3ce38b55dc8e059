#pragma once

#include <QProxyStyle>

namespace fenwold {

// Menus on the simulated Mac write their key equivalents as a Mac does (⌘, and ⌘Q where Qt on
// Linux writes "Ctrl+," and "Ctrl+Q"): Qt's Control is the Command key there.
class MacMenuStyle final : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                           const QWidget* widget) const override;

    // A shortcut in Qt's words ("Ctrl+Shift+Q") in the Mac's symbols ("⇧⌘Q").
    static QString macKeys(const QString& shortcut);
};

} // namespace fenwold
