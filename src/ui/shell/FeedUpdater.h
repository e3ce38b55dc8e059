#pragma once

#include "core/shell/UpdateDiagnosis.h"
#include "ports/MainQueue.h"
#include "ports/Updates.h"

#include <QMessageBox>
#include <QPointer>
#include <memory>
#include <optional>

namespace fenwold {

class MainQueue;

// The status menu's update check where no update framework is built in: fetches the bundle's
// feed, and tells the user in a small window, which never blocks the rest of the program, whether
// a newer version is available (with a link to its download) or why the check failed. Checks
// itself once a day in the background and speaks up then only when an update exists, as the
// update framework does: at once while the program is in front, otherwise the update waits in the
// status menu ("Update available") until the user asks for it.
class FeedUpdater final : public Updates, private UpdateCheckObserver {
public:
    FeedUpdater(FeedFetcher& fetcher, MainQueue& queue, BundleInfo bundle, QString systemVersion);
    ~FeedUpdater() override;

    void start() override;
    bool canCheckForUpdates() const override { return !checking_; }
    void checkForUpdates() override;
    void remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) override;

    // What the last check found, as shown to the user (title, text).
    std::pair<QString, QString> lastMessage() const { return last_; }
    // How a result reaches the user; a window that blocks nothing unless replaced (tests).
    std::function<void(const QString& title, const QString& text)> present;
    // The window a result was last shown in, while it is open.
    QMessageBox* window() const { return window_; }

private:
    void check(bool userInitiated);
    void didFinishLoading(const std::vector<AppcastItem>& items) override;
    void didFindValidUpdate(const AppcastItem& item) override;
    void didNotFindUpdate(const UpdateError& error) override;
    void didAbort(const UpdateError& error) override;
    void tell(const QString& title, const QString& text, bool always);
    void show(const QString& title, const QString& text);

    FeedUpdateCheck check_;
    MainQueue& queue_;
    TimerHandle daily_;
    bool checking_ = false;
    bool userInitiated_ = false;
    std::pair<QString, QString> last_;
    std::function<bool()> inFront_;
    std::function<void(bool)> waiting_;
    std::optional<std::pair<QString, QString>> pending_; // found in the background, waiting in the menu
    QPointer<QMessageBox> window_;
};

} // namespace fenwold
