#pragma once

#include <QString>
#include <QStringList>
#include <array>

namespace fenwold {

class Prefs;

// What Alt+F4 does, as the settings offer it (in this order).
enum class AltF4Action { closeWindowOrQuit, close, quit };

inline constexpr std::array<AltF4Action, 3> kAltF4Actions = {AltF4Action::closeWindowOrQuit,
                                                             AltF4Action::close, AltF4Action::quit};

// The stored raw value of an action.
QString rawValue(AltF4Action action);
// "close" and "quit" name their cases; anything else, absent included, is closeWindowOrQuit.
AltF4Action altF4ActionFromRaw(const QString& raw);
// Reads `altF4Action` from the preferences.
AltF4Action readAltF4Action(const Prefs& prefs);
void writeAltF4Action(const Prefs& prefs, AltF4Action action);

} // namespace fenwold
