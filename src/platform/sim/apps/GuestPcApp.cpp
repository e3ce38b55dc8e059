#include "GuestPcApp.h"

namespace fenwold {

GuestPcApp::GuestPcApp(SimSession& session)
    : SimApplication(session, "org.fenwold.sim.GuestPC", "Guest PC") {}

uint32_t GuestPcApp::openScreen(Rect frame) {
    return openWindow(QStringLiteral("Guest PC \u2014 Windows desktop"), frame);
}

QStringList GuestPcApp::content(uint32_t) const {
    QStringList lines = {QStringLiteral("Keys the guest received:")};
    const QStringList& keys = received();
    if (keys.isEmpty()) lines << QStringLiteral("  (none yet)");
    for (qsizetype i = std::max<qsizetype>(0, keys.size() - kShownKeys); i < keys.size(); ++i)
        lines << QStringLiteral("  ") + keys[i];
    return lines;
}

} // namespace fenwold
