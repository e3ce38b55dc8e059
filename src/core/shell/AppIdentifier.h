#pragma once

#include <QString>

namespace fenwold {

// The program's bundle identifier: its preferences domain, the clipboard queue's label prefix
// and the prefix of the debug notification names.
inline constexpr char kAppIdentifier[] = "org.fenwold.Fenwold";

inline QString appIdentifier() {
    return QString::fromLatin1(kAppIdentifier);
}

} // namespace fenwold
