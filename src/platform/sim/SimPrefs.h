#pragma once

#include "ports/PrefsStore.h"

#include <QHash>
#include <array>
#include <map>
#include <memory>
#include <mutex>

namespace fenwold {

// An in-memory defaults store: the program's domain with a registered-defaults layer, the
// any-application domain, other applications' domains and a distributed notification centre.
// Distributed notifications are delivered synchronously to observers.
class SimPrefs final : public PrefsStore {
public:
    PrefValue read(PrefKey key) const override;
    void write(PrefKey key, const PrefValue& value) override;
    void registerDefault(PrefKey key, const PrefValue& value) override;
    Subscription observeChanges(std::function<void()> handler) override;
    QVariant readGlobal(const QString& key) const override;
    void writeGlobal(const QString& key, const QVariant& value) override;
    QVariant readDomain(const QString& domain, const QString& key) const override;
    Subscription observeDistributed(const QString& name, std::function<void()> handler) override;
    void postDistributed(const QString& name) override;

    // Test and setup hooks.
    void setDomainValue(const QString& domain, const QString& key, const QVariant& value);
    PrefValue stored(PrefKey key) const; // without the defaults layer
    // Names posted so far, in order.
    QStringList postedNotifications() const;

private:
    mutable std::mutex mutex_;
    std::array<PrefValue, kPrefKeyCount> values_{};
    std::array<PrefValue, kPrefKeyCount> defaults_{};
    QHash<QString, QVariant> global_;
    QHash<QString, QHash<QString, QVariant>> domains_;
    struct Observer {
        QString name;
        std::shared_ptr<std::function<void()>> handler;
    };
    std::map<uint64_t, Observer> observers_;
    std::map<uint64_t, std::shared_ptr<std::function<void()>>> changeObservers_;
    uint64_t nextObserver_ = 1;
    QStringList posted_;
};

} // namespace fenwold
