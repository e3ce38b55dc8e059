#include "SimPrefs.h"

#include <vector>

namespace fenwold {

namespace {
std::size_t slot(PrefKey key) {
    return static_cast<std::size_t>(key);
}
} // namespace

PrefValue SimPrefs::read(PrefKey key) const {
    std::lock_guard lock(mutex_);
    const PrefValue& v = values_[slot(key)];
    return std::holds_alternative<std::monostate>(v) ? defaults_[slot(key)] : v;
}

void SimPrefs::write(PrefKey key, const PrefValue& value) {
    std::vector<std::shared_ptr<std::function<void()>>> observers;
    {
        std::lock_guard lock(mutex_);
        values_[slot(key)] = value;
        for (const auto& [id, o] : changeObservers_)
            observers.push_back(o);
    }
    for (const auto& o : observers)
        (*o)();
}

Subscription SimPrefs::observeChanges(std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    const uint64_t id = nextObserver_++;
    changeObservers_.emplace(id, std::make_shared<std::function<void()>>(std::move(handler)));
    return Subscription([this, id] {
        std::lock_guard inner(mutex_);
        changeObservers_.erase(id);
    });
}

void SimPrefs::registerDefault(PrefKey key, const PrefValue& value) {
    std::lock_guard lock(mutex_);
    defaults_[slot(key)] = value;
}

PrefValue SimPrefs::stored(PrefKey key) const {
    std::lock_guard lock(mutex_);
    return values_[slot(key)];
}

QVariant SimPrefs::readGlobal(const QString& key) const {
    std::lock_guard lock(mutex_);
    return global_.value(key);
}

void SimPrefs::writeGlobal(const QString& key, const QVariant& value) {
    std::lock_guard lock(mutex_);
    if (value.isValid())
        global_.insert(key, value);
    else
        global_.remove(key);
}

QVariant SimPrefs::readDomain(const QString& domain, const QString& key) const {
    std::lock_guard lock(mutex_);
    return domains_.value(domain).value(key);
}

void SimPrefs::setDomainValue(const QString& domain, const QString& key, const QVariant& value) {
    std::lock_guard lock(mutex_);
    domains_[domain].insert(key, value);
}

Subscription SimPrefs::observeDistributed(const QString& name, std::function<void()> handler) {
    std::lock_guard lock(mutex_);
    const uint64_t id = nextObserver_++;
    observers_.emplace(id, Observer{name, std::make_shared<std::function<void()>>(std::move(handler))});
    return Subscription([this, id] {
        std::lock_guard inner(mutex_);
        observers_.erase(id);
    });
}

void SimPrefs::postDistributed(const QString& name) {
    std::vector<std::shared_ptr<std::function<void()>>> handlers;
    {
        std::lock_guard lock(mutex_);
        posted_ << name;
        for (const auto& [id, o] : observers_) {
            if (o.name == name) handlers.push_back(o.handler);
        }
    }
    for (const auto& h : handlers)
        (*h)();
}

QStringList SimPrefs::postedNotifications() const {
    std::lock_guard lock(mutex_);
    return posted_;
}

} // namespace fenwold
