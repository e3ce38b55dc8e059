#include "EventLog.h"

#include "ports/KeyCodes.h"

namespace fenwold {

namespace {

QString modifierName(int64_t keyCode) {
    switch (keyCode) {
    case kRightCommand:
    case kCommand:
        return QStringLiteral("\u2318 Command");
    case kShift:
    case kRightShift:
        return QStringLiteral("\u21E7 Shift");
    case kOption:
    case kRightOption:
        return QStringLiteral("\u2325 Option");
    case kControl:
    case kRightControl:
        return QStringLiteral("\u2303 Control");
    case kCapsLock:
        return QStringLiteral("Caps Lock");
    default:
        return QStringLiteral("modifier %1").arg(keyCode);
    }
}

QString what(const TapEvent& e, const SimKeyboardLayout& layout) {
    switch (e.type) {
    case eventtype::keyDown:
    case eventtype::keyUp:
        return QStringLiteral("%1 %2%3").arg(describeKey(static_cast<uint16_t>(e.keyCode), e.flags, layout),
                                             e.type == eventtype::keyDown ? QStringLiteral("down")
                                                                          : QStringLiteral("up"),
                                             e.autorepeat ? QStringLiteral(" (repeat)") : QString());
    case eventtype::flagsChanged:
        return modifierName(e.keyCode) +
               QStringLiteral(" (flags %1)")
                   .arg(describeKey(0xFFFF, e.flags, layout).remove(QStringLiteral("key 65535")));
    case eventtype::leftMouseDown:
    case eventtype::leftMouseUp:
        return QStringLiteral("click %1 at %2, %3")
            .arg(e.type == eventtype::leftMouseDown ? QStringLiteral("down") : QStringLiteral("up"))
            .arg(qRound(e.location.x))
            .arg(qRound(e.location.y));
    case eventtype::leftMouseDragged:
        return QStringLiteral("drag to %1, %2").arg(qRound(e.location.x)).arg(qRound(e.location.y));
    case eventtype::scrollWheel:
        return QStringLiteral("scroll %1").arg(e.scrollDelta);
    default:
        return QStringLiteral("event %1").arg(e.type);
    }
}

} // namespace

QString EventLog::describe(const TapDecision& d, const QString& frontApp, const SimKeyboardLayout& layout) {
    const QString seen = what(d.before, layout);
    if (d.answer == TapAnswer::swallow) return QStringLiteral("tap: %1 \u2014 swallowed").arg(seen);
    if (d.rewritten())
        return QStringLiteral("tap: %1 \u2014 rewritten to %2, passed to %3")
            .arg(seen, what(d.after, layout), frontApp);
    return QStringLiteral("tap: %1 \u2014 passed to %2").arg(seen, frontApp);
}

void EventLog::tapDecision(const TapDecision& decision, const QString& frontApp) {
    // A drag's click down and up frame it; the many moves it passes on unchanged say nothing.
    if (decision.before.type == eventtype::leftMouseDragged && decision.answer == TapAnswer::pass &&
        !decision.rewritten())
        return;
    note(describe(decision, frontApp, layout_));
}

void EventLog::posted(const PostedKey& key, const QString& app) {
    note(QStringLiteral("posted %1 %2 to %3 (pid %4)")
             .arg(describeKey(key.keyCode, key.flags, layout_),
                  key.keyDown ? QStringLiteral("down") : QStringLiteral("up"), app)
             .arg(key.pid));
}

void EventLog::note(const QString& line) {
    lines_ << line;
    if (lines_.size() > limit_) lines_.removeFirst();
    if (onLine) onLine(line);
}

} // namespace fenwold
