#pragma once

#include <QByteArray>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace fenwold {

// The update framework as the status menu uses it.
class Updates {
public:
    Updates() = default;
    Updates(const Updates&) = delete;
    Updates& operator=(const Updates&) = delete;
    virtual ~Updates() = default;

    // Start the updater (scheduled background checks as the bundle configures them).
    virtual void start() = 0;
    // Whether a user-initiated check can start now.
    virtual bool canCheckForUpdates() const = 0;
    // A user-initiated check with the framework's own interface.
    virtual void checkForUpdates() = 0;
    // An update that a scheduled check finds while `inFront` answers false (the program is not
    // the active application) is not shown at once: `waiting(true)` asks the program to say so
    // quietly, and a user-initiated check then shows it; `waiting(false)` follows once the user
    // has seen it or the update session ended. Updaters that never defer an update ignore this.
    virtual void remindGently(std::function<bool()> inFront, std::function<void(bool waiting)> waiting) = 0;
};

// One item of an update feed.
struct AppcastItem {
    QString displayVersion;
    QString version;
    std::optional<QString> minimumSystemVersion;
    std::optional<QUrl> fileURL;
    friend bool operator==(const AppcastItem&, const AppcastItem&) = default;
};

// An error as the update framework reports it.
struct UpdateError {
    QString description;
    QString domain;
    long code = 0;
    std::vector<std::pair<QString, QString>> userInfo; // without the localized description
};

// What a report-only update check tells, in the order it happens.
class UpdateCheckObserver {
public:
    virtual ~UpdateCheckObserver() = default;
    virtual void didFinishLoading(const std::vector<AppcastItem>& items) = 0;
    virtual void didFindValidUpdate(const AppcastItem& item) = 0;
    virtual void didNotFindUpdate(const UpdateError& error) = 0;
    virtual void didAbort(const UpdateError& error) = 0;
};

// An updater that only checks and reports, never installs (the "--check-updates" diagnosis).
class UpdateCheck {
public:
    UpdateCheck() = default;
    UpdateCheck(const UpdateCheck&) = delete;
    UpdateCheck& operator=(const UpdateCheck&) = delete;
    virtual ~UpdateCheck() = default;

    // Start the updater; an error description when it cannot start.
    virtual std::optional<QString> start() = 0;
    // Ask for update information; the observer hears back on the main thread.
    virtual void checkForUpdateInformation(UpdateCheckObserver& observer) = 0;
};

// Fetches a feed's bytes from a file or web address.
class FeedFetcher {
public:
    FeedFetcher() = default;
    FeedFetcher(const FeedFetcher&) = delete;
    FeedFetcher& operator=(const FeedFetcher&) = delete;
    virtual ~FeedFetcher() = default;

    // Fetch the address; done runs on the main thread with the bytes or an error description.
    virtual void fetch(const QUrl& url, std::function<void(QByteArray, std::optional<QString>)> done) = 0;
};

} // namespace fenwold
