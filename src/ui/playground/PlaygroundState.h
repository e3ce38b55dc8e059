#pragma once

#include <QJsonObject>

class QGraphicsView;

namespace fenwold {

class PlaygroundSession;

// What a person sees in the playground, as data: the simulated screen's place and scale on the
// host's display, the front application and the windows, the program's panels, menu and windows
// with where their controls are drawn (in points from the simulated screen's top-left), the
// clipboard shelf's state, the system's panel and journal, the pasteboard's text and the event
// log. Tests that drive the playground with the host's real pointer and keyboard read it to know
// where to click and what came of it.
QJsonObject playgroundState(PlaygroundSession& playground, const QGraphicsView* screenView);

} // namespace fenwold
