#pragma once

#include "ports/Log.h"

#include <mutex>

namespace fenwold {

// Log lines on standard error, for systems without the unified log.
class StderrLog final : public Log {
public:
    void line(const QString& text) override;

private:
    std::mutex mutex_; // keeps lines from different threads whole
};

} // namespace fenwold
