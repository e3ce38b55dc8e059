#pragma once

#include <QString>

namespace fenwold {

// The program's bundle identifier: its preferences domain, the clipboard queue's label prefix
// and the prefix of the debug notification names. Declared with the bundle's other facts
// (cmake/Bundle.cmake).
inline constexpr char kAppIdentifier[] = FENWOLD_APP_IDENTIFIER;

inline QString appIdentifier() {
    return QString::fromLatin1(kAppIdentifier);
}

} // namespace fenwold
