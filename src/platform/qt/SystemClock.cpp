#include "SystemClock.h"

#include <QDateTime>

namespace fenwold {

double SystemClock::now() const {
    // 978307200 is 2001-01-01T00:00:00Z in Unix time.
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0 - 978307200.0;
}

} // namespace fenwold
