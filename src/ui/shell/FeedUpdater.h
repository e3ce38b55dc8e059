#pragma once

#include "core/shell/UpdateDiagnosis.h"
#include "ports/MainQueue.h"
#include "ports/Updates.h"

#include <memory>

namespace fenwold {

class MainQueue;

// The status menu's update check where no update framework is built in: fetches the bundle's
// feed, and tells the user in a small dialog whether a newer version is available (with a link to
// its download) or why the check failed. Checks itself once a day in the background and only
// speaks up then when an update exists.
class FeedUpdater final : public Updates, private UpdateCheckObserver {
public:
    FeedUpdater(FeedFetcher& fetcher, MainQueue& queue, BundleInfo bundle, QString systemVersion);
    ~FeedUpdater() override;

    void start() override;
    bool canCheckForUpdates() const override { return !checking_; }
    void checkForUpdates() override;
    // Its daily check speaks up with a message of its own and never defers an update.
    void remindGently(std::function<bool()>, std::function<void(bool)>) override {}

    // What the last check found, as shown to the user (title, text).
    std::pair<QString, QString> lastMessage() const { return last_; }
    // How a result reaches the user; a message box unless replaced (tests).
    std::function<void(const QString& title, const QString& text)> present;

private:
    void check(bool userInitiated);
    void didFinishLoading(const std::vector<AppcastItem>& items) override;
    void didFindValidUpdate(const AppcastItem& item) override;
    void didNotFindUpdate(const UpdateError& error) override;
    void didAbort(const UpdateError& error) override;
    void tell(const QString& title, const QString& text, bool always);

    FeedUpdateCheck check_;
    MainQueue& queue_;
    TimerHandle daily_;
    bool checking_ = false;
    bool userInitiated_ = false;
    std::pair<QString, QString> last_;
};

} // namespace fenwold
