#pragma once

#include <QRect>
#include <QString>

class QPainter;

namespace fenwold {

// How a window's frame is drawn on the simulated screen: the rounded body, the title bar with its
// close/minimise/zoom buttons and the centred title. The applications' windows and the program's
// own share it, so they look alike.
constexpr int kTitleBarHeight = 28;

// The close (0), minimise (1) and zoom (2) button of a window with the given frame.
QRect titleBarButton(const QRect& frame, int index);
// The body and title bar of a window; `active` windows have coloured buttons and a darker title.
void paintWindowChrome(QPainter& p, const QRect& frame, const QString& title, bool active);

} // namespace fenwold
