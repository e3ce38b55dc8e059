#include "SimSystem.h"

#include <cstdio>
#include <utility>

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

bool SimPrivateServices::hasFrontProcess() const {
    std::lock_guard lock(mutex_);
    return front_;
}

std::optional<int32_t> SimPrivateServices::setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                                      uint32_t options) {
    {
        std::lock_guard lock(mutex_);
        if (!front_) return std::nullopt;
        calls_ << QStringLiteral("front pid=%1 window=%2 options=0x%3")
                      .arg(psn.low)
                      .arg(window)
                      .arg(options, 0, 16);
    }
    if (onFront) onFront(static_cast<int32_t>(psn.low), window);
    return 0;
}

std::optional<int32_t> SimPrivateServices::postEventRecord(ProcessSerial psn, const QByteArray& record) {
    std::lock_guard lock(mutex_);
    if (!front_) return std::nullopt;
    calls_ << QStringLiteral("event pid=%1 bytes=%2 type=0x%3")
                  .arg(psn.low)
                  .arg(record.size())
                  .arg(record.size() > 0x08 ? static_cast<unsigned char>(record[0x08]) : 0, 0, 16);
    return 0;
}

std::optional<ProcessSerial> SimPrivateServices::processSerial(int32_t pid) {
    std::lock_guard lock(mutex_);
    if (!front_ || pid < 1) return std::nullopt;
    // The simulated serial number carries the pid in its low word so calls read back clearly.
    return ProcessSerial{0, static_cast<uint32_t>(pid)};
}

std::optional<int32_t> SimPrivateServices::dockNotification(const QString& name) {
    std::lock_guard lock(mutex_);
    if (!dock_) return std::nullopt;
    calls_ << QStringLiteral("dock %1").arg(name);
    return 0;
}

std::optional<int32_t> SimPrivateServices::lockScreen() {
    std::lock_guard lock(mutex_);
    if (!lock_) return std::nullopt;
    calls_ << QStringLiteral("lock");
    return 0;
}

void SimPrivateServices::setFrontProcessAvailable(bool available) {
    std::lock_guard lock(mutex_);
    front_ = available;
}

void SimPrivateServices::setDockAvailable(bool available) {
    std::lock_guard lock(mutex_);
    dock_ = available;
}

void SimPrivateServices::setLockAvailable(bool available) {
    std::lock_guard lock(mutex_);
    lock_ = available;
}

QStringList SimPrivateServices::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

LoginItems::Status SimLoginItems::status() const {
    std::lock_guard lock(mutex_);
    return status_;
}

std::optional<QString> SimLoginItems::registerItem() {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    status_ = Status::enabled;
    return std::nullopt;
}

std::optional<QString> SimLoginItems::unregisterItem() {
    std::lock_guard lock(mutex_);
    if (failure_) return failure_;
    status_ = Status::notRegistered;
    return std::nullopt;
}

void SimLoginItems::setStatus(Status status) {
    std::lock_guard lock(mutex_);
    status_ = status;
}

void SimLoginItems::setFailure(std::optional<QString> error) {
    std::lock_guard lock(mutex_);
    failure_ = std::move(error);
}

void SimUpdates::start() {
    started_ = true;
}
bool SimUpdates::canCheckForUpdates() const {
    return started_;
}
void SimUpdates::checkForUpdates() {
    ++checks_;
    // A user-initiated check brings a waiting update into view.
    if (waiting_) {
        ++shown_;
        finishSession();
    }
}

void SimUpdates::remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) {
    inFront_ = std::move(inFront);
    notice_ = std::move(waiting);
}

bool SimUpdates::findScheduledUpdate() {
    if (!inFront_ || inFront_()) {
        ++shown_;
        return true;
    }
    waiting_ = true;
    if (notice_) notice_(true);
    return false;
}

void SimUpdates::finishSession() {
    if (!waiting_) return;
    waiting_ = false;
    if (notice_) notice_(false);
}

void SimAppShell::setAccessoryPolicy() {
    accessory_ = true;
}
void SimAppShell::activateSelf() {
    ++activations_;
}
void SimAppShell::terminate() {
    terminated_ = true;
    if (onTerminate) onTerminate();
}
BundleInfo SimAppShell::bundle() const {
    return bundle_;
}
void SimAppShell::setBundle(BundleInfo info) {
    bundle_ = std::move(info);
}

Subscription SimAppShell::observeReopen(std::function<void()> handler) {
    const uint64_t id = next_++;
    reopen_.emplace(id, std::move(handler));
    return Subscription([this, id] { reopen_.erase(id); });
}

void SimAppShell::chooseApplication(std::function<void(const QUrl&)> chosen) {
    if (onChooseApplication) {
        onChooseApplication(std::move(chosen));
        return;
    }
    pendingChooser_ = std::move(chosen);
}

void SimAppShell::answerChooser(const QUrl& url) {
    if (auto chosen = std::exchange(pendingChooser_, nullptr)) chosen(url);
}

void SimAppShell::reopen() {
    auto handlers = reopen_;
    for (auto& [id, h] : handlers)
        h();
}

void SimLog::line(const QString& text) {
    std::lock_guard lock(mutex_);
    lines_ << text;
}

QStringList SimLog::lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
}

void SimLog::clear() {
    std::lock_guard lock(mutex_);
    lines_.clear();
}

double SimClock::now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

void SimClock::set(double seconds) {
    std::lock_guard lock(mutex_);
    now_ = seconds;
}

void SimClock::advance(double seconds) {
    std::lock_guard lock(mutex_);
    now_ += seconds;
}

} // namespace fenwold
