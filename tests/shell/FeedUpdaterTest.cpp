#include "ui/shell/FeedUpdater.h"
#include "platform/sim/SimSession.h"

#include <QCoreApplication>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

// Answers every fetch with fixed bytes or an error, at once.
class FixedFetcher final : public FeedFetcher {
public:
    void fetch(const QUrl& url, std::function<void(QByteArray, std::optional<QString>)> done) override {
        urls << url.toString();
        done(bytes, error);
    }
    QByteArray bytes;
    std::optional<QString> error;
    QStringList urls;
};

QByteArray feed(const char* version) {
    return QByteArray(
               "<rss xmlns:sparkle=\"http://www.andymatuschak.org/xml-namespaces/sparkle\"><channel><item>"
               "<sparkle:version>") +
           version + "</sparkle:version><sparkle:shortVersionString>" + version +
           ".0</sparkle:shortVersionString><enclosure "
           "url=\"https://example.invalid/Fenwold.zip\"/></item></channel></rss>";
}

struct Updater : ::testing::Test {
    SimSession sim;
    FixedFetcher fetcher;
    QStringList shown;
    std::unique_ptr<FeedUpdater> updater;

    void make(std::optional<QString> feedURL = QString("https://example.invalid/appcast.xml")) {
        updater = std::make_unique<FeedUpdater>(
            fetcher, sim.mainQueue, BundleInfo{"org.fenwold.Fenwold", QString("1.0"), QString("10"), feedURL},
            "14.5");
        updater->present = [this](const QString& title, const QString& text) { shown << title + "|" + text; };
    }
};

} // namespace

TEST_F(Updater, TheMenuCheckTellsTheUserWhatItFound) {
    make();
    fetcher.bytes = feed("11");
    updater->checkForUpdates();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(
        shown[0].startsWith("A new version of Fenwold is available|Fenwold 11.0 (build 11) is available."));
    EXPECT_TRUE(shown[0].contains("https://example.invalid/Fenwold.zip"));

    fetcher.bytes = feed("9");
    updater->checkForUpdates();
    EXPECT_TRUE(shown[1].startsWith("No update|"));

    fetcher.error = QString("Connection refused");
    updater->checkForUpdates();
    EXPECT_TRUE(shown[2].startsWith("Update check failed|"));
    EXPECT_TRUE(shown[2].contains("Connection refused"));
    EXPECT_TRUE(updater->canCheckForUpdates());
}

TEST_F(Updater, DailyBackgroundChecksSpeakOnlyWhenThereIsAnUpdate) {
    make();
    fetcher.bytes = feed("9");
    updater->start();
    sim.mainQueue.advance(24 * 60 * 60);
    EXPECT_EQ(fetcher.urls.size(), 1);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_TRUE(updater->lastMessage().first == "No update");
    fetcher.bytes = feed("12");
    sim.mainQueue.advance(24 * 60 * 60);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("A new version"));
}

TEST_F(Updater, AnUpdateFoundWhileAnotherApplicationIsInFrontWaitsInTheStatusMenu) {
    make();
    bool front = false;
    std::vector<bool> waiting;
    updater->remindGently([&] { return front; }, [&](bool on) { waiting.push_back(on); });
    fetcher.bytes = feed("12");
    updater->start();
    sim.mainQueue.advance(24 * 60 * 60);
    EXPECT_TRUE(shown.isEmpty());
    EXPECT_EQ(waiting, std::vector<bool>{true});

    // "Update available": the update found, at once, and the menu goes back to its usual item.
    updater->checkForUpdates();
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("A new version of Fenwold is available|Fenwold 12.0 (build 12)"));
    EXPECT_EQ(fetcher.urls.size(), 1);
    EXPECT_EQ(waiting, (std::vector<bool>{true, false}));

    // The next one found while the program is in front is shown as it is found.
    front = true;
    fetcher.bytes = feed("13");
    sim.mainQueue.advance(24 * 60 * 60);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[1].contains("Fenwold 13.0"));
    EXPECT_EQ(waiting.size(), 2u);
    updater->checkForUpdates(); // nothing waits: a fresh check
    EXPECT_EQ(fetcher.urls.size(), 3);
}

TEST_F(Updater, ItsWindowBlocksNothingAndIsReused) {
    updater = std::make_unique<FeedUpdater>(fetcher, sim.mainQueue,
                                            BundleInfo{"org.fenwold.Fenwold", QString("1.0"), QString("10"),
                                                       QString("https://example.invalid/a.xml")},
                                            "14.5");
    fetcher.bytes = feed("11");
    updater->checkForUpdates(); // returns: nothing waits for the user to close the window
    QMessageBox* window = updater->window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowModality(), Qt::NonModal);
    EXPECT_EQ(window->windowTitle(), "A new version of Fenwold is available");

    fetcher.bytes = feed("9");
    updater->checkForUpdates();
    EXPECT_EQ(updater->window(), window); // the same window, its text replaced
    EXPECT_EQ(window->windowTitle(), "No update");
    window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(updater->window(), nullptr);
}

TEST_F(Updater, WithoutAFeedAddressTheCheckSaysSo) {
    make(std::nullopt);
    updater->checkForUpdates();
    EXPECT_TRUE(fetcher.urls.isEmpty());
    ASSERT_EQ(shown.size(), 1);
    EXPECT_TRUE(shown[0].startsWith("Update check failed|"));
}
