#pragma once

#include "ports/PrefsStore.h"

#include <QString>
#include <memory>

class QSettings;

namespace fenwold {

// Persists the program's preferences in a settings file on systems without user defaults.
// Reads are served by the wrapped in-memory store (so the event-tap path never touches the
// file); writes go to both.
class PrefsFile final : public PrefsStore {
public:
    PrefsFile(PrefsStore& memory, const QString& path);
    ~PrefsFile() override;

    PrefValue read(PrefKey key) const override { return memory_.read(key); }
    void write(PrefKey key, const PrefValue& value) override;
    void registerDefault(PrefKey key, const PrefValue& value) override {
        memory_.registerDefault(key, value);
    }
    Subscription observeChanges(std::function<void()> handler) override {
        return memory_.observeChanges(std::move(handler));
    }
    QVariant readGlobal(const QString& key) const override { return memory_.readGlobal(key); }
    void writeGlobal(const QString& key, const QVariant& value) override { memory_.writeGlobal(key, value); }
    QVariant readDomain(const QString& domain, const QString& key) const override {
        return memory_.readDomain(domain, key);
    }
    Subscription observeDistributed(const QString& name, std::function<void()> handler) override {
        return memory_.observeDistributed(name, std::move(handler));
    }
    void postDistributed(const QString& name) override { memory_.postDistributed(name); }

private:
    PrefsStore& memory_;
    std::unique_ptr<QSettings> file_;
};

} // namespace fenwold
