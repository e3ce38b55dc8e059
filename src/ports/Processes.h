#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <optional>

namespace fenwold {

// Child processes and process names.
class Processes {
public:
    Processes() = default;
    Processes(const Processes&) = delete;
    Processes& operator=(const Processes&) = delete;
    virtual ~Processes() = default;

    // Start a tool without waiting for it; false when it could not be started, with the
    // system's description of why in `error` when given.
    virtual bool launch(const QString& path, const QStringList& arguments, QString* error = nullptr) = 0;
    // The short process name of a pid; empty when there is no such process.
    virtual std::optional<QString> processName(int32_t pid) const = 0;
};

} // namespace fenwold
