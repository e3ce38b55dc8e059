#include "SystemServices.h"

#include <QDateTime>
#include <cstdio>

namespace fenwold {

void StderrLog::line(const QString& text) {
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

double SystemClock::now() const {
    // 978307200 is 2001-01-01T00:00:00Z in Unix time.
    return static_cast<double>(QDateTime::currentMSecsSinceEpoch()) / 1000.0 - 978307200.0;
}

} // namespace fenwold
