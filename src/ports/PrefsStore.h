#pragma once

#include "PrefKey.h"
#include "Subscription.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <variant>

namespace fenwold {

// One stored preference value; monostate when the key holds nothing. Lists are arrays of text.
using PrefValue = std::variant<std::monostate, bool, double, QString, QStringList>;

// The user-defaults store: the program's own domain (by key), the any-application domain, other
// applications' domains read-only, and distributed notifications.
class PrefsStore {
public:
    PrefsStore() = default;
    PrefsStore(const PrefsStore&) = delete;
    PrefsStore& operator=(const PrefsStore&) = delete;
    virtual ~PrefsStore() = default;

    // The stored value of key, else its registered default, else monostate. Thread-safe.
    virtual PrefValue read(PrefKey key) const = 0;
    // Store a value in the program's domain (monostate removes it).
    virtual void write(PrefKey key, const PrefValue& value) = 0;
    // Register a default; never replaces a stored value.
    virtual void registerDefault(PrefKey key, const PrefValue& value) = 0;
    // Hear that the program's domain changed, on the thread that changed it.
    virtual Subscription observeChanges(std::function<void()> handler) = 0;

    // A value of the any-application (global) domain, such as AppleKeyboardUIMode.
    virtual QVariant readGlobal(const QString& key) const = 0;
    // Write a value to the any-application domain.
    virtual void writeGlobal(const QString& key, const QVariant& value) = 0;
    // A value of another application's persistent domain (e.g. the Dock's "persistent-apps").
    virtual QVariant readDomain(const QString& domain, const QString& key) const = 0;

    // Observe a distributed notification by name; delivered on the main thread.
    virtual Subscription observeDistributed(const QString& name, std::function<void()> handler) = 0;
    // Post a distributed notification.
    virtual void postDistributed(const QString& name) = 0;
};

} // namespace fenwold
