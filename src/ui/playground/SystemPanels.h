#pragma once

#include "platform/sim/SimSystemUI.h"

#include <QRect>

class QPainter;

namespace fenwold {

// The simulated Mac's own panels as the playground draws them over its primary display: the
// Spotlight field, Control Centre and Notification Centre under the menu bar, the Force Quit
// window and the confirmation the power items ask.
QRect systemPanelRect(SimSystemUI::Panel panel, const QRect& screen);
void paintSystemPanel(QPainter& p, const SimSystemUI& ui, const SimWorkspace& workspace, const QRect& screen);

} // namespace fenwold
