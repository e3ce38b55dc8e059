// "--check-updates" end to end through the Linux host's update checks: the test serves appcast
// feeds over HTTP on the loopback address.
#include "app/Modes.h"
#include "app/SimHost.h"
#include "ui/shell/FeedUpdater.h"

#include <QEventLoop>
#include <QTcpServer>
#include <QTcpSocket>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// Answers every request with one fixed HTTP response.
class FeedServer {
public:
    explicit FeedServer(QByteArray body, int status = 200) {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, [this, body, status] {
            while (QTcpSocket* socket = server_.nextPendingConnection()) {
                QObject::connect(socket, &QTcpSocket::readyRead, socket, [socket, body, status] {
                    socket->readAll();
                    socket->write(
                        "HTTP/1.1 " + QByteArray::number(status) +
                        " X\r\nContent-Type: application/rss+xml\r\nConnection: close\r\nContent-Length: " +
                        QByteArray::number(body.size()) + "\r\n\r\n" + body);
                    socket->disconnectFromHost();
                });
                QObject::connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
            }
        });
    }
    QString url() const {
        return QStringLiteral("http://127.0.0.1:%1/appcast.xml").arg(server_.serverPort());
    }

private:
    QTcpServer server_;
};

QByteArray feedWith(const QByteArray& items) {
    return "<?xml version=\"1.0\"?><rss version=\"2.0\" "
           "xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><title>Fenwold</"
           "title>" +
           items + "</channel></rss>";
}

const QByteArray kItem11 =
    "<item><sparkle:version>11</sparkle:version><sparkle:shortVersionString>1.1</"
    "sparkle:shortVersionString><sparkle:minimumSystemVersion>14.0</"
    "sparkle:minimumSystemVersion><enclosure url=\"http://127.0.0.1/f/Fenwold-1.1.zip\"/></item>";
const QByteArray kItem09 =
    "<item><sparkle:version>9</sparkle:version><sparkle:shortVersionString>0.9</"
    "sparkle:shortVersionString><enclosure url=\"http://127.0.0.1/f/Fenwold-0.9.zip\"/></item>";

struct Result {
    int status = -1;
    QStringList lines;
};

Result checkUpdates(const std::optional<QString>& feed) {
    SimHost host;
    host.session().appShell.setBundle({"org.fenwold.Fenwold", QString("1.0"), QString("10"), feed});
    Platform platform = host.platform();
    QString text;
    QTextStream out(&text);
    Result r;
    r.status = runDiagnosticMode(parseMode({"fenwold", "--check-updates"}), platform, out, nullptr, [&host] {
                   return host.makeUpdateCheck();
               }).value_or(-1);
    out.flush();
    r.lines = text.split('\n', Qt::SkipEmptyParts);
    return r;
}

} // namespace

TEST(CheckUpdates, ANewerItemIsReportedAsFound) {
    FeedServer server(feedWith(kItem11 + kItem09));
    const Result r = checkUpdates(server.url());
    EXPECT_EQ(r.status, 0);
    const QStringList expected = {"feed:    " + server.url(),
                                  "running: 1.0 build 10",
                                  "appcast loaded: 2 item(s)",
                                  "  1.1 build 11  minOS=14.0  url=Fenwold-1.1.zip",
                                  "  0.9 build 9  minOS=-  url=Fenwold-0.9.zip",
                                  "RESULT: update found — 1.1 build 11"};
    EXPECT_EQ(r.lines, expected);
}

TEST(CheckUpdates, NothingNewerEndsWithNoUpdateAndItsErrorDetails) {
    FeedServer server(feedWith(kItem09));
    const Result r = checkUpdates(server.url());
    EXPECT_EQ(r.status, 0);
    ASSERT_GE(r.lines.size(), 6);
    EXPECT_EQ(r.lines[3], "  0.9 build 9  minOS=-  url=Fenwold-0.9.zip");
    EXPECT_TRUE(r.lines[4].startsWith("RESULT: no update — ")) << r.lines[4].toStdString();
    EXPECT_EQ(r.lines[5], "  domain=org.fenwold.Fenwold.updates code=1001");
    EXPECT_EQ(r.lines[6],
              "  NSLocalizedRecoverySuggestion: Fenwold 1.0 is currently the newest version available.");
}

TEST(CheckUpdates, MalformedFeedUnreachableServerAndMissingFeedAbortWithStatusOne) {
    {
        FeedServer server("<rss><channel><item><sparkle:version>");
        const Result r = checkUpdates(server.url());
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.lines.last().startsWith("RESULT: aborted — ")) << r.lines.last().toStdString();
        EXPECT_TRUE(r.lines.last().endsWith("(domain=org.fenwold.Fenwold.updates code=1000)"));
    }
    {
        FeedServer server("missing", 404);
        const Result r = checkUpdates(server.url());
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.lines.last().startsWith("RESULT: aborted — "));
    }
    {
        // Nothing listens on this port once the server is gone.
        QString url;
        {
            FeedServer gone("");
            url = gone.url();
        }
        const Result r = checkUpdates(url);
        EXPECT_EQ(r.status, 1);
        EXPECT_TRUE(r.lines.last().startsWith("RESULT: aborted — "));
        EXPECT_TRUE(r.lines.last().endsWith("code=2001)"));
    }
    {
        const Result r = checkUpdates(std::nullopt);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.lines[0], "feed:    (none)");
        EXPECT_TRUE(r.lines.last().startsWith("RESULT: aborted — "));
    }
}

TEST(CheckUpdates, WithoutAnUpdateCheckTheSwitchFallsThroughToTheNormalStart) {
    SimHost host;
    Platform platform = host.platform();
    QString text;
    QTextStream out(&text);
    EXPECT_EQ(runDiagnosticMode(parseMode({"fenwold", "--check-updates"}), platform, out), std::nullopt);
    out.flush();
    EXPECT_TRUE(text.isEmpty());
}

TEST(HostUpdates, TheStatusMenuUpdaterReadsTheSessionsFeedOnTheRealClock) {
    FeedServer server(feedWith(kItem11 + kItem09));
    SimHost host;
    host.session().appShell.setBundle({"org.fenwold.Fenwold", QString("1.0"), QString("10"), server.url()});
    const std::unique_ptr<Updates> updates = host.makeUpdates();
    auto* feedUpdater = dynamic_cast<FeedUpdater*>(updates.get());
    ASSERT_NE(feedUpdater, nullptr);
    QEventLoop loop;
    QStringList shown;
    feedUpdater->present = [&](const QString& title, const QString& text) {
        shown << title + "|" + text;
        loop.quit();
    };

    EXPECT_TRUE(updates->canCheckForUpdates());
    updates->checkForUpdates();
    EXPECT_FALSE(updates->canCheckForUpdates()); // one check at a time
    if (shown.isEmpty()) loop.exec();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(
        shown[0].startsWith("A new version of Fenwold is available|Fenwold 1.1 (build 11) is available."))
        << shown[0].toStdString();
    EXPECT_TRUE(updates->canCheckForUpdates());
}
