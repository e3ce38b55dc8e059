#include "SimProcesses.h"

namespace fenwold {

bool SimProcesses::launch(const QString& path, const QStringList& arguments, QString* error) {
    std::lock_guard lock(mutex_);
    if (launchFails_) {
        if (error)
            *error = QStringLiteral("The file “%1” doesn’t exist.").arg(path.section(QLatin1Char('/'), -1));
        return false;
    }
    launched_.push_back({path, arguments});
    return true;
}

std::optional<QString> SimProcesses::processName(int32_t pid) const {
    std::lock_guard lock(mutex_);
    ++lookups_;
    auto it = names_.find(pid);
    if (it == names_.end()) return std::nullopt;
    return it->second;
}

std::vector<LaunchedTool> SimProcesses::launched() const {
    std::lock_guard lock(mutex_);
    return launched_;
}

void SimProcesses::setLaunchFails(bool fails) {
    std::lock_guard lock(mutex_);
    launchFails_ = fails;
}

void SimProcesses::setProcessName(int32_t pid, const QString& name) {
    std::lock_guard lock(mutex_);
    names_[pid] = name;
}

int SimProcesses::nameLookups() const {
    std::lock_guard lock(mutex_);
    return lookups_;
}

} // namespace fenwold
