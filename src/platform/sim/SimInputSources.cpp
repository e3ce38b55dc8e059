#include "SimInputSources.h"

#include <algorithm>

namespace fenwold {

SimInputSources::SimInputSources() {
    sources_ = {{QStringLiteral("com.apple.keylayout.US"), true, true, true}};
    current_ = sources_.front().id;
}

std::vector<InputSourceInfo> SimInputSources::sources() const {
    std::lock_guard lock(mutex_);
    return sources_;
}

std::optional<QString> SimInputSources::current() const {
    std::lock_guard lock(mutex_);
    if (current_.isEmpty()) return std::nullopt;
    return current_;
}

bool SimInputSources::select(const QString& id) {
    {
        std::lock_guard lock(mutex_);
        const auto it = std::find_if(sources_.begin(), sources_.end(), [&](const InputSourceInfo& s) {
            return s.id == id && s.selectCapable && s.enabled;
        });
        if (it == sources_.end()) return false;
        current_ = id;
        selections_ << id;
    }
    observers_.notify();
    return true;
}

void SimInputSources::setSources(std::vector<InputSourceInfo> sources, const QString& current) {
    {
        std::lock_guard lock(mutex_);
        sources_ = std::move(sources);
        current_ = current;
    }
    observers_.notify();
}

Subscription SimInputSources::observeSelection(std::function<void()> handler) {
    return observers_.add(std::move(handler));
}

QStringList SimInputSources::selections() const {
    std::lock_guard lock(mutex_);
    return selections_;
}

} // namespace fenwold
