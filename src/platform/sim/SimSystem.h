#pragma once

#include "ports/AppShell.h"
#include "ports/Log.h"
#include "ports/PrivateServices.h"
#include "ports/Processes.h"
#include "ports/Updates.h"

#include <QHash>
#include <functional>
#include <map>
#include <mutex>

namespace fenwold {

// One tool launch as the simulated system saw it.
struct LaunchedTool {
    QString path;
    QStringList arguments;
    friend bool operator==(const LaunchedTool&, const LaunchedTool&) = default;
};

// Child processes: records every launch; launches can be made to fail.
class SimProcesses final : public Processes {
public:
    bool launch(const QString& path, const QStringList& arguments, QString* error = nullptr) override;
    std::optional<QString> processName(int32_t pid) const override;

    std::vector<LaunchedTool> launched() const;
    void setLaunchFails(bool fails);
    void setProcessName(int32_t pid, const QString& name);
    int nameLookups() const;

private:
    mutable std::mutex mutex_;
    std::vector<LaunchedTool> launched_;
    std::map<int32_t, QString> names_;
    bool launchFails_ = false;
    mutable int lookups_ = 0;
};

// Private entry points, each present or absent; every call is recorded.
class SimPrivateServices final : public PrivateServices {
public:
    bool hasFrontProcess() const override;
    std::optional<int32_t> setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                      uint32_t options) override;
    std::optional<int32_t> postEventRecord(ProcessSerial psn, const QByteArray& record) override;
    std::optional<ProcessSerial> processSerial(int32_t pid) override;
    std::optional<int32_t> dockNotification(const QString& name) override;
    std::optional<int32_t> lockScreen() override;

    void setFrontProcessAvailable(bool available);
    void setDockAvailable(bool available);
    void setLockAvailable(bool available);
    // Called when a process is made front through the private path (the session reacts).
    std::function<void(int32_t pid, uint32_t window)> onFront;
    // Calls in order, as readable strings ("front pid=501 window=7 options=0x200", ...).
    QStringList calls() const;

private:
    mutable std::mutex mutex_;
    bool front_ = true;
    bool dock_ = true;
    bool lock_ = true;
    QStringList calls_;
};

class SimLoginItems final : public LoginItems {
public:
    Status status() const override;
    std::optional<QString> registerItem() override;
    std::optional<QString> unregisterItem() override;
    void setStatus(Status status);
    void setFailure(std::optional<QString> error);

private:
    mutable std::mutex mutex_;
    Status status_ = Status::notRegistered;
    std::optional<QString> failure_;
};

class SimUpdates final : public Updates {
public:
    void start() override;
    bool canCheckForUpdates() const override;
    void checkForUpdates() override;
    void remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) override;
    bool started() const { return started_; }
    int checks() const { return checks_; }
    // A scheduled check finds an update: shown by the framework when the program is in front,
    // otherwise waiting for the user; true when it was shown.
    bool findScheduledUpdate();
    // The user saw the waiting update (or dismissed it).
    void finishSession();
    int shown() const { return shown_; }

private:
    bool started_ = false;
    int checks_ = 0;
    int shown_ = 0;
    bool waiting_ = false;
    std::function<bool()> inFront_;
    std::function<void(bool)> notice_;
};

class SimAppShell final : public AppShell {
public:
    void setAccessoryPolicy() override;
    void activateSelf() override;
    void terminate() override;
    BundleInfo bundle() const override;
    QString systemVersion() const override { return systemVersion_; }
    Subscription observeReopen(std::function<void()> handler) override;
    void chooseApplication(std::function<void(const QUrl&)> chosen) override;

    void setBundle(BundleInfo info);
    // Shows the simulated file chooser; without one a chooser stays open until `answerChooser`.
    std::function<void(std::function<void(const QUrl&)> chosen)> onChooseApplication;
    bool chooserOpen() const { return static_cast<bool>(pendingChooser_); }
    // The user picks a bundle (or cancels with an empty location) in the open chooser.
    void answerChooser(const QUrl& url);
    bool accessory() const { return accessory_; }
    bool terminated() const { return terminated_; }
    int activations() const { return activations_; }
    void reopen();
    std::function<void()> onTerminate;

private:
    BundleInfo bundle_;
    QString systemVersion_ = QStringLiteral("14.5");
    bool accessory_ = false;
    bool terminated_ = false;
    int activations_ = 0;
    std::map<uint64_t, std::function<void()>> reopen_;
    uint64_t next_ = 1;
    std::function<void(const QUrl&)> pendingChooser_;
};

// Log lines kept in memory.
class SimLog final : public Log {
public:
    void line(const QString& text) override;
    QStringList lines() const;
    void clear();

private:
    mutable std::mutex mutex_;
    QStringList lines_;
};

// A wall clock that moves only when told (seconds since 2001-01-01).
class SimClock final : public WallClock {
public:
    double now() const override;
    void set(double seconds);
    void advance(double seconds);

private:
    mutable std::mutex mutex_;
    double now_ = 786'000'000; // late 2025
};

} // namespace fenwold
