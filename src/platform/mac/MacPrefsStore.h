#pragma once

#include "ports/PrefsStore.h"

#include <array>

namespace fenwold {

// The user defaults of the program's bundle identifier (so `defaults write <identifier> key`
// is seen on the next read), the any-application domain through CFPreferences, and the
// distributed notification centre.
class MacPrefsStore final : public PrefsStore {
public:
    MacPrefsStore();
    ~MacPrefsStore() override;

    PrefValue read(PrefKey key) const override;
    void write(PrefKey key, const PrefValue& value) override;
    void registerDefault(PrefKey key, const PrefValue& value) override;
    Subscription observeChanges(std::function<void()> handler) override;
    QVariant readGlobal(const QString& key) const override;
    void writeGlobal(const QString& key, const QVariant& value) override;
    QVariant readDomain(const QString& domain, const QString& key) const override;
    Subscription observeDistributed(const QString& name, std::function<void()> handler) override;
    void postDistributed(const QString& name) override;

private:
    std::array<const void*, kPrefKeyCount> names_{}; // retained NSString per key, made once
};

} // namespace fenwold
