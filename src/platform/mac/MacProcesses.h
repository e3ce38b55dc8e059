#pragma once

#include "ports/Processes.h"

namespace fenwold {

// Tools started as child processes, and process names by pid.
class MacProcesses final : public Processes {
public:
    bool launch(const QString& path, const QStringList& arguments, QString* error = nullptr) override;
    std::optional<QString> processName(int32_t pid) const override;
};

} // namespace fenwold
