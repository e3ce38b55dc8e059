#include "SystemPanels.h"

#include <QPainter>

namespace fenwold {

namespace {

using Panel = SimSystemUI::Panel;

void card(QPainter& p, const QRect& r, int radius = 14) {
    p.setPen(QPen(QColor(0, 0, 0, 40), 1));
    p.setBrush(QColor(246, 246, 248));
    p.drawRoundedRect(r, radius, radius);
}

void tile(QPainter& p, const QRect& r, const QString& title, const QString& state) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 220));
    p.drawRoundedRect(r, 10, 10);
    p.setPen(Qt::black);
    QFont f = p.font();
    f.setPixelSize(12);
    f.setBold(true);
    p.setFont(f);
    p.drawText(r.adjusted(12, 8, -8, -r.height() / 2), Qt::AlignLeft | Qt::AlignVCenter, title);
    f.setBold(false);
    p.setFont(f);
    p.setPen(QColor(90, 90, 90));
    p.drawText(r.adjusted(12, r.height() / 2, -8, -8), Qt::AlignLeft | Qt::AlignVCenter, state);
}

void button(QPainter& p, const QRect& r, const QString& text, bool primary) {
    p.setPen(Qt::NoPen);
    p.setBrush(primary ? QColor(10, 122, 255) : QColor(255, 255, 255));
    p.drawRoundedRect(r, 6, 6);
    p.setPen(primary ? Qt::white : Qt::black);
    p.drawText(r, Qt::AlignCenter, text);
}

void paintSpotlight(QPainter& p, const QRect& r, QFont f) {
    card(p, r, 12);
    f.setPixelSize(22);
    p.setFont(f);
    p.setPen(QColor(140, 140, 140));
    p.drawText(r.adjusted(54, 0, -16, 0), Qt::AlignVCenter | Qt::AlignLeft,
               QStringLiteral("Spotlight Search"));
    p.setPen(QPen(QColor(110, 110, 110), 2.5));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(QRect(r.left() + 18, r.top() + 17, 16, 16));
    p.drawLine(r.left() + 32, r.top() + 31, r.left() + 39, r.top() + 38);
}

void paintControlCentre(QPainter& p, const QRect& r) {
    card(p, r);
    const int w = (r.width() - 36) / 2;
    tile(p, QRect(r.left() + 12, r.top() + 12, w, 52), QStringLiteral("Wi-Fi"), QStringLiteral("Home"));
    tile(p, QRect(r.left() + 24 + w, r.top() + 12, w, 52), QStringLiteral("Focus"), QStringLiteral("Off"));
    tile(p, QRect(r.left() + 12, r.top() + 76, w, 52), QStringLiteral("Bluetooth"), QStringLiteral("On"));
    tile(p, QRect(r.left() + 24 + w, r.top() + 76, w, 52), QStringLiteral("AirDrop"),
         QStringLiteral("Contacts Only"));
    tile(p, QRect(r.left() + 12, r.top() + 140, r.width() - 24, 44), QStringLiteral("Display"),
         QStringLiteral("Brightness 70%"));
    tile(p, QRect(r.left() + 12, r.top() + 194, r.width() - 24, 44), QStringLiteral("Sound"),
         QStringLiteral("Volume 50%"));
}

void paintNotificationCentre(QPainter& p, const QRect& r, QFont f) {
    f.setPixelSize(13);
    p.setFont(f);
    card(p, QRect(r.left(), r.top(), r.width(), 80));
    tile(p, QRect(r.left() + 10, r.top() + 10, r.width() - 20, 60), QStringLiteral("Messages"),
         QStringLiteral("Alex: Lunch at one?"));
    card(p, QRect(r.left(), r.top() + 96, r.width(), 90));
    tile(p, QRect(r.left() + 10, r.top() + 106, r.width() - 20, 70), QStringLiteral("Calendar · Sunday"),
         QStringLiteral("No more events today"));
    card(p, QRect(r.left(), r.top() + 200, r.width(), 90));
    tile(p, QRect(r.left() + 10, r.top() + 210, r.width() - 20, 70), QStringLiteral("Weather"),
         QStringLiteral("18° · Partly cloudy"));
}

// The regular applications that run, as the window lists them.
void paintForceQuit(QPainter& p, const QRect& r, QFont f, const SimWorkspace& workspace) {
    card(p, r, 10);
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(QRect(r.left(), r.top() + 10, r.width(), 20), Qt::AlignCenter,
               QStringLiteral("Force Quit Applications"));
    f.setBold(false);
    p.setFont(f);
    const QRect list(r.left() + 16, r.top() + 40, r.width() - 32, r.height() - 96);
    p.setPen(QColor(200, 200, 200));
    p.setBrush(Qt::white);
    p.drawRect(list);
    int y = list.top() + 4;
    for (const RunningApp& app : workspace.runningApps()) {
        if (app.policy != ActivationPolicy::regular || !app.name || y > list.bottom() - 20) continue;
        p.setPen(Qt::black);
        p.drawText(QRect(list.left() + 8, y, list.width() - 16, 18), Qt::AlignVCenter, *app.name);
        y += 20;
    }
    button(p, QRect(r.right() - 116, r.bottom() - 42, 100, 26), QStringLiteral("Force Quit"), true);
}

// The question the Apple menu's Log Out, Restart or Shut Down asks.
void paintConfirmation(QPainter& p, const QRect& r, QFont f, const QString& what) {
    card(p, r, 10);
    const QString question =
        what == QStringLiteral("Log Out")
            ? QStringLiteral("Are you sure you want to quit all applications and log out now?")
            : QStringLiteral("Are you sure you want to %1 your computer now?").arg(what.toLower());
    f.setPixelSize(13);
    f.setBold(true);
    p.setFont(f);
    p.setPen(Qt::black);
    p.drawText(r.adjusted(20, 18, -20, -70), Qt::AlignHCenter | Qt::TextWordWrap, question);
    button(p, QRect(r.right() - 116, r.bottom() - 42, 100, 26), what, true);
    button(p, QRect(r.right() - 226, r.bottom() - 42, 100, 26), QStringLiteral("Cancel"), false);
}

} // namespace

QRect systemPanelRect(Panel panel, const QRect& screen) {
    switch (panel) {
    case Panel::spotlight:
        return QRect(screen.center().x() - 320, screen.top() + screen.height() / 4, 640, 56);
    case Panel::controlCentre:
        return QRect(screen.right() - 330, screen.top() + 30, 320, 250);
    case Panel::notificationCentre:
        return QRect(screen.right() - 350, screen.top() + 30, 340, 290);
    case Panel::forceQuit:
        return QRect(screen.center().x() - 210, screen.top() + 160, 420, 300);
    case Panel::confirmation:
        return QRect(screen.center().x() - 210, screen.top() + 200, 420, 150);
    case Panel::none:
        break;
    }
    return {};
}

void paintSystemPanel(QPainter& p, const SimSystemUI& ui, const SimWorkspace& workspace,
                      const QRect& screen) {
    const Panel panel = ui.panel();
    const QRect r = systemPanelRect(panel, screen);
    if (r.isNull()) return;
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    switch (panel) {
    case Panel::spotlight:
        paintSpotlight(p, r, p.font());
        break;
    case Panel::controlCentre:
        paintControlCentre(p, r);
        break;
    case Panel::notificationCentre:
        paintNotificationCentre(p, r, p.font());
        break;
    case Panel::forceQuit:
        paintForceQuit(p, r, p.font(), workspace);
        break;
    case Panel::confirmation:
        paintConfirmation(p, r, p.font(), ui.confirmation());
        break;
    case Panel::none:
        break;
    }
    p.restore();
}

} // namespace fenwold
