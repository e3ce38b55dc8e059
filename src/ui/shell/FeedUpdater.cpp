#include "FeedUpdater.h"

#include "ports/MainQueue.h"

#include <QMessageBox>

namespace fenwold {

namespace {
constexpr double kDay = 24 * 60 * 60;
}

FeedUpdater::FeedUpdater(FeedFetcher& fetcher, MainQueue& queue, BundleInfo bundle, QString systemVersion)
    : check_(fetcher, std::move(bundle), std::move(systemVersion)), queue_(queue) {
    present = [](const QString& title, const QString& text) {
        QMessageBox box(QMessageBox::Information, title, text);
        box.setTextFormat(Qt::RichText);
        box.setTextInteractionFlags(Qt::TextBrowserInteraction);
        box.exec();
    };
}

FeedUpdater::~FeedUpdater() {
    daily_.cancel();
}

void FeedUpdater::start() {
    if (daily_.isActive()) return;
    daily_ = queue_.every(kDay, 60 * 60, [this] { check(false); });
}

void FeedUpdater::checkForUpdates() {
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
    // Background checks stay quiet unless there is something to install.
    if ((always || userInitiated_) && present) present(title, text);
}

} // namespace fenwold
