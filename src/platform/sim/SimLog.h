#pragma once

#include "ports/Log.h"

#include <QStringList>
#include <mutex>

namespace fenwold {

// Log lines kept in memory.
class SimLog final : public Log {
public:
    void line(const QString& text) override;
    QStringList lines() const;
    void clear();

private:
    mutable std::mutex mutex_;
    QStringList lines_;
};

} // namespace fenwold
