#pragma once

#include "ports/AppShell.h"
#include "ports/Updates.h"

#include <QTextStream>
#include <functional>

namespace fenwold {

// The "--check-updates" diagnosis: prints the feed and the running version, checks the feed
// without any user interface, prints what it found and ends with an exit status.
class UpdateDiagnosis final : public UpdateCheckObserver {
public:
    UpdateDiagnosis(UpdateCheck& check, QTextStream& out, std::function<void(int status)> finish);

    void run(const BundleInfo& bundle);

    void didFinishLoading(const std::vector<AppcastItem>& items) override;
    void didFindValidUpdate(const AppcastItem& item) override;
    void didNotFindUpdate(const UpdateError& error) override;
    void didAbort(const UpdateError& error) override;

private:
    void end(int status);

    UpdateCheck& check_;
    QTextStream& out_;
    std::function<void(int)> finish_;
    bool ended_ = false;
};

// A report-only update check over a feed fetched from the bundle's feed address.
class FeedUpdateCheck final : public UpdateCheck {
public:
    FeedUpdateCheck(FeedFetcher& fetcher, BundleInfo bundle, QString systemVersion);

    std::optional<QString> start() override;
    void checkForUpdateInformation(UpdateCheckObserver& observer) override;

    static QString errorDomain();
    enum Code : long { noFeed = 4, parseFailed = 1000, noUpdate = 1001, downloadFailed = 2001 };

private:
    FeedFetcher& fetcher_;
    BundleInfo bundle_;
    QString systemVersion_;
};

} // namespace fenwold
