#pragma once

#include <QIcon>
#include <QString>

class QPainter;

namespace fenwold {

// Small vector icons drawn by the program for the system symbols it names ("gearshape",
// "keyboard", "info.circle", ...), in the given colour; a null icon for an unknown name.
QIcon symbolIcon(const QString& name, const QColor& color, int size = 20);
// Draw a symbol into a square within rect.
void paintSymbol(QPainter& painter, const QString& name, const QRectF& rect, const QColor& color);

} // namespace fenwold
