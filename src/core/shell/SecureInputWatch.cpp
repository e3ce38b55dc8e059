#include "SecureInputWatch.h"

#include "core/hints/HintHUD.h"
#include "core/input/Trace.h"
#include "ports/Log.h"
#include "ports/Processes.h"
#include "ports/SecureInput.h"
#include "ports/Workspace.h"

namespace fenwold {

namespace {
const QString kUnknownHolder = QStringLiteral("an app");
} // namespace

SecureInputWatch::SecureInputWatch(const Parts& parts) : p_(parts) {}

void SecureInputWatch::start() {
    if (poll_.isActive()) return;
    poll();
    poll_ = p_.mainQueue->every(kPollSeconds, kPollTolerance, [this] { poll(); });
}

void SecureInputWatch::poll() {
    if (!p_.secureInput->enabled()) {
        if (on_) end();
        return;
    }
    std::optional<int32_t> pid = p_.secureInput->holderPid();
    if (pid && *pid < 1) pid.reset();
    if (!on_) {
        begin(pid);
    } else if (pid != holder_) {
        holder_ = pid;
        holderName_ = nameOf(pid);
        if (onChange) onChange();
    }
    followFront();
}

void SecureInputWatch::begin(std::optional<int32_t> pid) {
    on_ = true;
    hudShown_ = false;
    holder_ = pid;
    holderName_ = nameOf(pid);
    const QString pidText = pid ? QString::number(*pid) : QStringLiteral("unknown");
    p_.log->line(QStringLiteral("Fenwold: secure keyboard entry on (pid %1, %2)").arg(pidText, holderName_));
    if (p_.trace && p_.trace->on())
        p_.trace->mark(QStringLiteral("SECURE INPUT ON pid=%1 %2").arg(pidText, holderName_));
    if (onChange) onChange();
}

void SecureInputWatch::end() {
    on_ = false;
    holder_.reset();
    holderName_.clear();
    hud_.cancel();
    p_.log->line(QStringLiteral("Fenwold: secure keyboard entry off"));
    if (p_.trace && p_.trace->on()) p_.trace->mark(QStringLiteral("SECURE INPUT OFF"));
    if (onChange) onChange();
}

bool SecureInputWatch::holderInFront() const {
    return holder_ && *holder_ == p_.workspace->frontmostPid();
}

void SecureInputWatch::followFront() {
    // Typing into a password field of the front application is the ordinary case: the menu item
    // says it, nothing more.
    if (holderInFront()) {
        hud_.cancel();
        return;
    }
    if (hudShown_ || hud_.isActive()) return;
    hud_ = p_.mainQueue->after(kHudAfterSeconds, [this] {
        if (!on_ || hudShown_ || holderInFront()) return;
        hudShown_ = true;
        QString name = holderName_;
        // One keycap for the whole name.
        name.replace(QLatin1Char(' '), QChar(0x00A0));
        // Shown even with the hints off: the user cannot otherwise learn why nothing works.
        if (p_.hints)
            p_.hints->present(Hint{holderName_, name + QStringLiteral(" ~has ~Secure ~Keyboard ~Entry ~on"),
                                   QStringLiteral("Shortcuts paused")});
    });
}

QString SecureInputWatch::nameOf(std::optional<int32_t> pid) const {
    if (!pid) return kUnknownHolder;
    if (const auto app = p_.workspace->app(*pid); app && app->name && !app->name->isEmpty())
        return *app->name;
    // Not an application (a login window, a command-line tool): its process name.
    if (const auto name = p_.processes->processName(*pid); name && !name->isEmpty()) return *name;
    return kUnknownHolder;
}

} // namespace fenwold
