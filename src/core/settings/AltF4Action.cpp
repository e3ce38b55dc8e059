#include "AltF4Action.h"

#include "Prefs.h"

namespace fenwold {

QString rawValue(AltF4Action action) {
    switch (action) {
    case AltF4Action::close:
        return QStringLiteral("close");
    case AltF4Action::quit:
        return QStringLiteral("quit");
    case AltF4Action::closeWindowOrQuit:
        break;
    }
    return QStringLiteral("closeWindowOrQuit");
}

AltF4Action altF4ActionFromRaw(const QString& raw) {
    if (raw == QLatin1String("close")) return AltF4Action::close;
    if (raw == QLatin1String("quit")) return AltF4Action::quit;
    return AltF4Action::closeWindowOrQuit;
}

AltF4Action readAltF4Action(const Prefs& prefs) {
    const PrefValue v = prefs.store().read(PrefKey::altF4Action);
    const QString* s = std::get_if<QString>(&v);
    return altF4ActionFromRaw(s ? *s : QString());
}

void writeAltF4Action(const Prefs& prefs, AltF4Action action) {
    prefs.store().write(PrefKey::altF4Action, rawValue(action));
}

} // namespace fenwold
