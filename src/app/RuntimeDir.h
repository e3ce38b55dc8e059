#pragma once

#include <QString>
#include <optional>

namespace fenwold {

// Where no runtime folder is named (root shells, services, containers), Qt picks one itself and
// says so on standard error each time it looks, which would spoil the diagnostic modes' exact
// output. Before Qt starts, the program names its own: a folder under base that only this user
// may enter. Answers the folder named; nothing when the environment already names one or a
// private folder cannot be had (Qt then falls back as before).
std::optional<QString> providePrivateRuntimeDir(const QString& base);

} // namespace fenwold
