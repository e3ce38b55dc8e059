#pragma once

#include "ports/AppShell.h"
#include "ports/Log.h"

namespace fenwold {

// The application object and the bundle's facts through AppKit and Foundation.
class MacAppShell final : public AppShell {
public:
    MacAppShell();
    ~MacAppShell() override;

    void setAccessoryPolicy() override;
    void activateSelf() override;
    void terminate() override;
    BundleInfo bundle() const override;
    QString systemVersion() const override;
    Subscription observeReopen(std::function<void()> handler) override;
    void chooseApplication(std::function<void(const QUrl&)> chosen) override;
    // How `terminate` ends the run; the application object's own terminate by default.
    void setQuit(std::function<void()> quit) { quit_ = std::move(quit); }

private:
    std::function<void()> quit_;
    void* reopenTarget_ = nullptr; // retained handler object for the reopen Apple event
};

// The login item of the main application (SMAppService).
class MacLoginItems final : public LoginItems {
public:
    Status status() const override;
    std::optional<QString> registerItem() override;
    std::optional<QString> unregisterItem() override;
};

// The unified system log.
class MacLog final : public Log {
public:
    void line(const QString& text) override;
};

// The wall clock as the platform's absolute time.
class MacClock final : public WallClock {
public:
    double now() const override;
};

} // namespace fenwold
