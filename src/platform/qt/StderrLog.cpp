#include "StderrLog.h"

#include <cstdio>

namespace fenwold {

void StderrLog::line(const QString& text) {
    std::lock_guard lock(mutex_);
    std::fprintf(stderr, "%s\n", qPrintable(text));
}

} // namespace fenwold
