#include "NetworkFeedFetcher.h"

#include <QNetworkReply>

namespace fenwold {

NetworkFeedFetcher::NetworkFeedFetcher(int timeoutMs) : timeoutMs_(timeoutMs) {}

void NetworkFeedFetcher::fetch(const QUrl& url,
                               std::function<void(QByteArray, std::optional<QString>)> done) {
    QNetworkRequest request(url);
    request.setTransferTimeout(timeoutMs_);
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    QNetworkReply* reply = network_.get(request);
    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, done = std::move(done)] {
        reply->deleteLater();
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        if (reply->error() != QNetworkReply::NoError) {
            done({}, reply->errorString());
        } else if (status >= 400) {
            done({}, QStringLiteral("the server answered with status %1").arg(status));
        } else {
            done(reply->readAll(), std::nullopt);
        }
    });
}

} // namespace fenwold
