#include "FeedUpdater.h"

#include "ports/MainQueue.h"

#include <utility>

namespace fenwold {

namespace {
constexpr double kDay = 24 * 60 * 60;
}

FeedUpdater::FeedUpdater(FeedFetcher& fetcher, MainQueue& queue, BundleInfo bundle, QString systemVersion)
    : check_(fetcher, std::move(bundle), std::move(systemVersion)), queue_(queue) {
    present = [this](const QString& title, const QString& text) { show(title, text); };
}

FeedUpdater::~FeedUpdater() {
    daily_.cancel();
    delete window_.data();
}

void FeedUpdater::show(const QString& title, const QString& text) {
    // One window, shown and left to the user: a modal one would hold every key and click from the
    // shelf and the switcher while it waited, perhaps behind another application.
    if (!window_) {
        window_ = new QMessageBox(QMessageBox::Information, title, text);
        window_->setAttribute(Qt::WA_DeleteOnClose);
        window_->setWindowModality(Qt::NonModal);
        window_->setTextFormat(Qt::RichText);
        window_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    }
    window_->setWindowTitle(title);
    window_->setText(text);
    window_->show();
    window_->raise();
    window_->activateWindow();
}

void FeedUpdater::remindGently(std::function<bool()> inFront, std::function<void(bool)> waiting) {
    inFront_ = std::move(inFront);
    waiting_ = std::move(waiting);
}

void FeedUpdater::start() {
    if (daily_.isActive()) return;
    daily_ = queue_.every(kDay, 60 * 60, [this] { check(false); });
}

void FeedUpdater::checkForUpdates() {
    // "Update available" in the menu: the update found in the background, at once.
    if (pending_) {
        const auto [title, text] = *std::exchange(pending_, std::nullopt);
        if (present) present(title, text);
        if (waiting_) waiting_(false);
        return;
    }
    check(true);
}

void FeedUpdater::check(bool userInitiated) {
    if (checking_) return;
    checking_ = true;
    userInitiated_ = userInitiated;
    check_.checkForUpdateInformation(*this);
}

void FeedUpdater::didFinishLoading(const std::vector<AppcastItem>&) {}

void FeedUpdater::didFindValidUpdate(const AppcastItem& item) {
    QString text =
        QStringLiteral("Fenwold %1 (build %2) is available.").arg(item.displayVersion, item.version);
    if (item.fileURL)
        text += QStringLiteral("<br><a href=\"%1\">Download it</a>")
                    .arg(item.fileURL->toString().toHtmlEscaped());
    tell(QStringLiteral("A new version of Fenwold is available"), text, true);
}

void FeedUpdater::didNotFindUpdate(const UpdateError& error) {
    QString text = error.description.toHtmlEscaped();
    for (const auto& [key, value] : error.userInfo) {
        if (key == QLatin1String("NSLocalizedRecoverySuggestion"))
            text += QStringLiteral("<br>") + value.toHtmlEscaped();
    }
    tell(QStringLiteral("No update"), text, false);
}

void FeedUpdater::didAbort(const UpdateError& error) {
    tell(QStringLiteral("Update check failed"), error.description.toHtmlEscaped(), false);
}

void FeedUpdater::tell(const QString& title, const QString& text, bool always) {
    checking_ = false;
    last_ = {title, text};
    // Background checks stay quiet unless there is something to install, and wait in the status
    // menu while another application is in front.
    if (!always && !userInitiated_) return;
    if (!userInitiated_ && inFront_ && !inFront_()) {
        pending_ = last_;
        if (waiting_) waiting_(true);
        return;
    }
    if (present) present(title, text);
}

} // namespace fenwold
