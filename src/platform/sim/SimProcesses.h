#pragma once

#include "ports/Processes.h"

#include <QStringList>
#include <map>
#include <mutex>
#include <vector>

namespace fenwold {

// One tool launch as the simulated system saw it.
struct LaunchedTool {
    QString path;
    QStringList arguments;
    friend bool operator==(const LaunchedTool&, const LaunchedTool&) = default;
};

// Child processes: records every launch; launches can be made to fail.
class SimProcesses final : public Processes {
public:
    bool launch(const QString& path, const QStringList& arguments, QString* error = nullptr) override;
    std::optional<QString> processName(int32_t pid) const override;

    std::vector<LaunchedTool> launched() const;
    void setLaunchFails(bool fails);
    void setProcessName(int32_t pid, const QString& name);
    int nameLookups() const;

private:
    mutable std::mutex mutex_;
    std::vector<LaunchedTool> launched_;
    std::map<int32_t, QString> names_;
    bool launchFails_ = false;
    mutable int lookups_ = 0;
};

} // namespace fenwold
