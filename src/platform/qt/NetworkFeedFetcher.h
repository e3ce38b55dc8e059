#pragma once

#include "ports/Updates.h"

#include <QNetworkAccessManager>

namespace fenwold {

// Fetches feeds over http(s) and from files with Qt Network, on the calling thread's event loop.
class NetworkFeedFetcher final : public FeedFetcher {
public:
    explicit NetworkFeedFetcher(int timeoutMs = 15000);
    void fetch(const QUrl& url, std::function<void(QByteArray, std::optional<QString>)> done) override;

private:
    QNetworkAccessManager network_;
    int timeoutMs_;
};

} // namespace fenwold
