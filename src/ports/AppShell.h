#pragma once

#include "Subscription.h"

#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

namespace fenwold {

// Login item registration.
class LoginItems {
public:
    enum class Status { notRegistered, enabled, requiresApproval, notFound };
    LoginItems() = default;
    LoginItems(const LoginItems&) = delete;
    LoginItems& operator=(const LoginItems&) = delete;
    virtual ~LoginItems() = default;

    virtual Status status() const = 0;
    // Register the program as a login item; an error description on failure.
    virtual std::optional<QString> registerItem() = 0;
    // Unregister; an error description on failure.
    virtual std::optional<QString> unregisterItem() = 0;
};

// Facts about the program's own bundle.
struct BundleInfo {
    QString identifier;
    std::optional<QString> version; // short version string
    std::optional<QString> build;   // bundle version
    std::optional<QString> feedURL; // the update feed entry
};

// The application object: activation policy, activation, termination, bundle facts.
class AppShell {
public:
    AppShell() = default;
    AppShell(const AppShell&) = delete;
    AppShell& operator=(const AppShell&) = delete;
    virtual ~AppShell() = default;

    // Run as an accessory (no Dock icon, no main menu).
    virtual void setAccessoryPolicy() = 0;
    // Bring the program itself to the front.
    virtual void activateSelf() = 0;
    // End the application's run loop.
    virtual void terminate() = 0;
    virtual BundleInfo bundle() const = 0;
    // The operating system's version, such as "14.5".
    virtual QString systemVersion() const = 0;
    // Follow "the application was reopened" (e.g. double-clicked while running).
    virtual Subscription observeReopen(std::function<void()> handler) = 0;
    // Let the user choose an application bundle with the system's file chooser, opened at the
    // Applications folder. The choice arrives later on the main thread: the bundle's location,
    // or an empty location when the user cancelled.
    virtual void chooseApplication(std::function<void(const QUrl&)> chosen) = 0;
};

} // namespace fenwold
