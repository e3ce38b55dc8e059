#include "core/shell/Appcast.h"

#include <gtest/gtest.h>

using namespace fenwold;

TEST(Versions, CompareRunsOfDigitsAsNumbersAndPreReleasesAsOlder) {
    struct Case {
        const char* a;
        const char* b;
        int expected;
    };
    const Case cases[] = {
        {"1.0", "1.0", 0},    {"1.10", "1.9", 1},
        {"2", "10", -1},      {"1.0.1", "1.0", 1},
        {"1.0b1", "1.0", -1}, {"1.0b2", "1.0b1", 1},
        {"1.0a", "1.0b", -1}, {"12", "12.0.1", -1},
        {"007", "7", 0},      {"123456789012345678901", "123456789012345678900", 1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(compareVersions(c.a, c.b), c.expected) << c.a << " vs " << c.b;
        EXPECT_EQ(compareVersions(c.b, c.a), -c.expected) << c.b << " vs " << c.a;
    }
}

TEST(Appcast, ReadsItemsFromElementsAndEnclosureAttributes) {
    const QByteArray feed = R"(<?xml version="1.0"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
 <channel><title>Fenwold</title>
  <item><title>1.2</title>
   <sparkle:version>12</sparkle:version>
   <sparkle:shortVersionString>1.2</sparkle:shortVersionString>
   <sparkle:minimumSystemVersion>14.0</sparkle:minimumSystemVersion>
   <enclosure url="https://example.invalid/dl/Fenwold-1.2.zip" length="10" type="application/octet-stream"/>
  </item>
  <item><title>1.1</title>
   <enclosure url="https://example.invalid/dl/Fenwold-1.1.zip" sparkle:version="11" sparkle:shortVersionString="1.1"/>
  </item>
  <item><title>no version, cannot be offered</title></item>
 </channel></rss>)";
    auto parsed = parseAppcast(feed);
    ASSERT_TRUE(std::holds_alternative<std::vector<AppcastItem>>(parsed))
        << std::get<QString>(parsed).toStdString();
    const auto& items = std::get<std::vector<AppcastItem>>(parsed);
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].version, "12");
    EXPECT_EQ(items[0].displayVersion, "1.2");
    EXPECT_EQ(items[0].minimumSystemVersion, QString("14.0"));
    EXPECT_EQ(items[1].version, "11");
    EXPECT_EQ(items[1].minimumSystemVersion, std::nullopt);
    EXPECT_EQ(items[1].fileURL, QUrl("https://example.invalid/dl/Fenwold-1.1.zip"));

    EXPECT_TRUE(std::holds_alternative<QString>(parseAppcast("<rss><channel><item>")));
    EXPECT_TRUE(std::holds_alternative<QString>(parseAppcast("not xml at all")));
    EXPECT_TRUE(std::holds_alternative<QString>(parseAppcast("<html><body/></html>")));
}

TEST(Appcast, BestUpdateIsTheNewestAllowedItemNewerThanTheRunningBuild) {
    const std::vector<AppcastItem> items = {
        {"1.1", "11", std::nullopt, std::nullopt},
        {"2.0", "20", QString("15.0"), std::nullopt},
        {"1.5", "15", QString("14.0"), std::nullopt},
    };
    EXPECT_EQ(bestUpdate(items, "10", "14.5")->version, "15");
    EXPECT_EQ(bestUpdate(items, "10", "15.1")->version, "20");
    EXPECT_FALSE(bestUpdate(items, "15", "14.5"));
    EXPECT_FALSE(bestUpdate({}, "1", "14.5"));
}
