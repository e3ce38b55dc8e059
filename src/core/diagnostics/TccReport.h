#pragma once

#include <QStringList>

namespace fenwold {

class Accessibility;
class WindowServer;

// The permission report of "--tcc": Accessibility trust (no prompt) and the Screen Recording
// preflight, one line each.
QStringList tccReport(const Accessibility& accessibility, const WindowServer& windowServer);

} // namespace fenwold
