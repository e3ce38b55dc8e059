#include "UpdateDiagnosis.h"

#include "AppIdentifier.h"
#include "Appcast.h"

#include <QFileInfo>

namespace fenwold {

UpdateDiagnosis::UpdateDiagnosis(UpdateCheck& check, QTextStream& out, std::function<void(int)> finish)
    : check_(check), out_(out), finish_(std::move(finish)) {}

void UpdateDiagnosis::run(const BundleInfo& bundle) {
    out_ << "feed:    " << bundle.feedURL.value_or(QStringLiteral("(none)")) << '\n';
    out_ << "running: " << bundle.version.value_or(QStringLiteral("?")) << " build "
         << bundle.build.value_or(QStringLiteral("?")) << '\n';
    out_.flush();
    if (auto error = check_.start()) {
        out_ << "updater.start failed: " << *error << '\n';
        end(1);
        return;
    }
    check_.checkForUpdateInformation(*this);
}

void UpdateDiagnosis::didFinishLoading(const std::vector<AppcastItem>& items) {
    out_ << "appcast loaded: " << items.size() << " item(s)\n";
    for (const auto& item : items) {
        const QString file = item.fileURL ? QFileInfo(item.fileURL->path()).fileName() : QString();
        out_ << "  " << item.displayVersion << " build " << item.version
             << "  minOS=" << item.minimumSystemVersion.value_or(QStringLiteral("-"))
             << "  url=" << (file.isEmpty() ? QStringLiteral("-") : file) << '\n';
    }
    out_.flush();
}

void UpdateDiagnosis::didFindValidUpdate(const AppcastItem& item) {
    out_ << "RESULT: update found — " << item.displayVersion << " build " << item.version << '\n';
    end(0);
}

void UpdateDiagnosis::didNotFindUpdate(const UpdateError& error) {
    out_ << "RESULT: no update — " << error.description << '\n';
    out_ << "  domain=" << error.domain << " code=" << error.code << '\n';
    for (const auto& [key, value] : error.userInfo)
        out_ << "  " << key << ": " << value << '\n';
    end(0);
}

void UpdateDiagnosis::didAbort(const UpdateError& error) {
    out_ << "RESULT: aborted — " << error.description << " (domain=" << error.domain << " code=" << error.code
         << ")\n";
    end(1);
}

void UpdateDiagnosis::end(int status) {
    out_.flush();
    if (ended_) return; // the first verdict stands
    ended_ = true;
    finish_(status);
}

FeedUpdateCheck::FeedUpdateCheck(FeedFetcher& fetcher, BundleInfo bundle, QString systemVersion)
    : fetcher_(fetcher), bundle_(std::move(bundle)), systemVersion_(std::move(systemVersion)) {}

QString FeedUpdateCheck::errorDomain() {
    return appIdentifier() + QStringLiteral(".updates");
}

std::optional<QString> FeedUpdateCheck::start() {
    return std::nullopt;
}

void FeedUpdateCheck::checkForUpdateInformation(UpdateCheckObserver& observer) {
    const QUrl url(bundle_.feedURL.value_or(QString()));
    if (!bundle_.feedURL || !url.isValid() || url.scheme().isEmpty()) {
        observer.didAbort(
            {QStringLiteral("The application has no valid update feed address."), errorDomain(), noFeed, {}});
        return;
    }
    fetcher_.fetch(url, [this, &observer](const QByteArray& bytes, const std::optional<QString>& error) {
        if (error) {
            observer.didAbort({QStringLiteral("The update feed could not be downloaded: %1").arg(*error),
                               errorDomain(),
                               downloadFailed,
                               {}});
            return;
        }
        auto parsed = parseAppcast(bytes);
        if (auto* problem = std::get_if<QString>(&parsed)) {
            observer.didAbort({*problem, errorDomain(), parseFailed, {}});
            return;
        }
        const auto& items = std::get<std::vector<AppcastItem>>(parsed);
        observer.didFinishLoading(items);
        const QString running = bundle_.build.value_or(QStringLiteral("0"));
        if (auto update = bestUpdate(items, running, systemVersion_)) {
            observer.didFindValidUpdate(*update);
            return;
        }
        UpdateError none{QStringLiteral("You’re up to date!"), errorDomain(), noUpdate, {}};
        none.userInfo.emplace_back(QStringLiteral("NSLocalizedRecoverySuggestion"),
                                   QStringLiteral("Fenwold %1 is currently the newest version available.")
                                       .arg(bundle_.version.value_or(running)));
        observer.didNotFindUpdate(none);
    });
}

} // namespace fenwold
