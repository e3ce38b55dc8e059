// The pins file: its exact form, bounds, and all-or-nothing reading.
#include "core/clipboard/PinsFile.h"
#include "ClipTestSupport.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

using namespace fenwold;
using namespace fenwold::test;

namespace {

class PinsFileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path() const { return dir.filePath("Fenwold/clipboard-pins.json"); }

    void writeRaw(const QByteArray& bytes) {
        QDir().mkpath(dir.filePath("Fenwold"));
        QFile file(path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // A record whose payload is one plain-text item of the given size.
    static SavedClip sized(qint64 bytes, const QString& tag) {
        return savedClip(textPayload(tag + QString(static_cast<int>(bytes - tag.size()), QChar('x'))));
    }
};

TEST_F(PinsFileTest, EncodesCompactlyWithKeysInOrder) {
    SavedClip clip{QUuid::fromString(QStringLiteral("0f8fad5b-d9cb-469f-a165-70867728950e")),
                   ClipPayload{{PasteboardItem{{{ClipTypes::string, "hi"}, {ClipTypes::html, "<b>hi</b>"}}}}},
                   "Notes", std::nullopt, 12.5};
    EXPECT_EQ(
        PinsFile::encode({clip}),
        R"([{"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","payload":{"items":[{"public.utf8-plain-text":"aGk=",)"
        R"("public.html":"PGI+aGk8L2I+"}]},"source":"Notes","copiedAt":12.5}])");
    clip.sourceID = "com.apple.Notes";
    EXPECT_TRUE(
        PinsFile::encode({clip}).contains(R"("source":"Notes","sourceID":"com.apple.Notes","copiedAt")"));
}

TEST_F(PinsFileTest, WrittenPinsReadBackIdenticallyWithPrivatePermissions) {
    std::vector<SavedClip> clips = {savedClip(textPayload("first")), savedClip(textPayload("second"))};
    clips[1].sourceID.reset();
    clips[0].payload.items.push_back(PasteboardItem{{{ClipTypes::png, pngBytes(3, 3)}}});
    ASSERT_TRUE(PinsFile::save(path(), clips));

    EXPECT_EQ(QFile::permissions(path()) & 0x7077, QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(QFile::permissions(dir.filePath("Fenwold")) & 0x7077,
              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const auto loaded = PinsFile::load(path());
    ASSERT_FALSE(loaded.failed);
    ASSERT_EQ(loaded.entries.size(), 2u);
    EXPECT_EQ(loaded.entries[0].saved, clips[0]);
    EXPECT_EQ(loaded.entries[1].saved, clips[1]);
    EXPECT_TRUE(loaded.entries[0].pinned);
}

TEST_F(PinsFileTest, MissingFileLoadsNothingWithoutFailing) {
    const auto loaded = PinsFile::load(path());
    EXPECT_FALSE(loaded.failed);
    EXPECT_TRUE(loaded.entries.empty());
}

TEST_F(PinsFileTest, AFileOverSixtyFourMebibytesIsRejected) {
    QDir().mkpath(dir.filePath("Fenwold"));
    QFile file(path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(67108864 + 1));
    file.close();
    EXPECT_TRUE(PinsFile::load(path()).failed);
}

TEST_F(PinsFileTest, OnlyTheFirstTwentyRecordsLoad) {
    std::vector<SavedClip> clips;
    for (int i = 0; i < 25; ++i)
        clips.push_back(savedClip(textPayload(QString("pin %1").arg(i))));
    writeRaw(PinsFile::encode(clips));
    const auto loaded = PinsFile::load(path());
    ASSERT_EQ(loaded.entries.size(), 20u);
    EXPECT_EQ(loaded.entries.front().text(), "pin 0");
    EXPECT_EQ(loaded.entries.back().text(), "pin 19");
}

TEST_F(PinsFileTest, PayloadTotalStopsLoadingAtThirtyTwoMebibytes) {
    writeRaw(PinsFile::encode({sized(1000, "a"), sized(33554432, "b"), sized(10, "c")}));
    auto loaded = PinsFile::load(path());
    ASSERT_EQ(loaded.entries.size(), 1u);
    EXPECT_TRUE(loaded.entries[0].text().startsWith("a"));

    // Exactly at the cap still loads.
    writeRaw(PinsFile::encode({sized(33554432 - 10, "a"), sized(10, "b")}));
    EXPECT_EQ(PinsFile::load(path()).entries.size(), 2u);
}

TEST_F(PinsFileTest, MalformedRecordsMakeTheWholeFileUnreadable) {
    const QByteArray good =
        R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","payload":{"items":[{"public.utf8-plain-text":"aGk="}]},"source":"Notes","copiedAt":1})";
    auto loads = [&](const QByteArray& second) {
        writeRaw("[" + good + "," + second + "]");
        return PinsFile::load(path());
    };

    auto noSourceID = loads(good);
    ASSERT_FALSE(noSourceID.failed);
    EXPECT_FALSE(noSourceID.entries[1].saved.sourceID);
    EXPECT_EQ(noSourceID.entries[1].text(), "hi");

    EXPECT_FALSE(
        loads(QByteArray(good).replace(R"(,"copiedAt":1})", R"(,"copiedAt":1,"extra":[1]})")).failed);
    EXPECT_TRUE(loads(QByteArray(good).replace(R"(,"copiedAt":1)", "")).failed);
    EXPECT_TRUE(loads(QByteArray(good).replace("0F8FAD5B-D9CB", "0F8FAD5B_D9CB")).failed);
    EXPECT_TRUE(loads(QByteArray(good).replace("0F8FAD5B-", "{0F8FAD5B-")).failed);
    EXPECT_TRUE(loads(QByteArray(good).replace("aGk=", "aGk")).failed);
    EXPECT_TRUE(loads(QByteArray(good).replace("aGk=", "a*k=")).failed);
    EXPECT_TRUE(loads(QByteArray(good).replace(R"("source":"Notes")", R"("source":7)")).failed);
    // The bundle identifier may be left out, but when present it is a string: null is a wrong type.
    EXPECT_TRUE(
        loads(QByteArray(good).replace(R"("source":"Notes")", R"("source":"Notes","sourceID":null)")).failed);
    EXPECT_TRUE(
        loads(QByteArray(good).replace(R"("source":"Notes")", R"("source":"Notes","sourceID":1)")).failed);
    EXPECT_TRUE(loads("{}").failed);
    writeRaw("not json");
    EXPECT_TRUE(PinsFile::load(path()).failed);
    writeRaw(R"({"id":"x"})");
    EXPECT_TRUE(PinsFile::load(path()).failed);
}

// The reader takes any well-formed JSON document of that shape, and nothing else.
TEST_F(PinsFileTest, ReadsAnyWellFormedDocumentOfTheRightShape) {
    const auto decodes = [](const QByteArray& json) { return PinsFile::decode(json); };
    const auto clips =
        decodes("\xEF\xBB\xBF [ {\"copiedAt\" : -1.5e2 ,\n\t\"source\":\"No\\u0074es \\ud83d\\ude00\","
                "\"extra\":{\"deep\":[[1,true,null,{\"a\":\"\\n\"}],-0.0e-0]},"
                "\"payload\":{\"other\":false,\"items\":[{\"public.html\":\"PGI+\",\"public.utf8-plain-"
                "text\":\"\\u0061Gk=\"},{}]},"
                "\"id\":\"0f8fad5b-d9cb-469f-a165-70867728950e\"}\r\n]\n");
    ASSERT_TRUE(clips);
    ASSERT_EQ(clips->size(), 1u);
    const SavedClip& clip = clips->front();
    EXPECT_EQ(clip.copiedAt, -150);
    EXPECT_EQ(clip.source, QString::fromUtf8("Notes \U0001F600"));
    EXPECT_EQ(clip.id, QUuid::fromString(QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E")));
    // Types keep the order the file lists them in.
    ASSERT_EQ(clip.payload.items.size(), 2u);
    ASSERT_EQ(clip.payload.items[0].types.size(), 2u);
    EXPECT_EQ(clip.payload.items[0].types[0], (std::pair<QString, QByteArray>(ClipTypes::html, "<b>")));
    EXPECT_EQ(clip.payload.items[0].types[1], (std::pair<QString, QByteArray>(ClipTypes::string, "hi")));
    EXPECT_TRUE(clip.payload.items[1].types.empty());
    EXPECT_EQ(decodes("[]")->size(), 0u);

    const QByteArray good =
        R"({"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","payload":{"items":[{"t":"aGk="}]},"source":"N","copiedAt":1})";
    for (const QByteArray& bad : {
             QByteArray("[") + good + ",]",                 // trailing comma
             QByteArray("[") + good + "] x",                // something after the document
             QByteArray("[") + good + QByteArray("]\0", 2), // a stray NUL
             QByteArray("[") + QByteArray(good).replace("\"N\"", "\"\xC3\x28\"") + "]", // not UTF-8
             QByteArray("[") + QByteArray(good).replace("\"N\"", "\"a\tb\"") + "]", // raw control character
             QByteArray("[") + QByteArray(good).replace("\"N\"", "\"\\ud800\"") + "]", // lone surrogate
             QByteArray("[") + QByteArray(good).replace("1}", "01}") + "]",            // leading zero
             QByteArray("[") + QByteArray(good).replace("1}", "1e999}") + "]",         // beyond a double
             QByteArray("[") +
                 QByteArray(good).replace("1}",
                                          "1,\"x\":" + QByteArray(600, '[') + QByteArray(600, ']') + "}") +
                 "]",
             QByteArray("[") + QByteArray(good).replace("aGk=", "aGk=\\n") + "]", // a line break in Base64
             QByteArray("[") + QByteArray(good).replace("aGk=", "aG=k") + "]",
             QByteArray("[") + QByteArray(good).replace("aGk=", "====") + "]",
             QByteArray("[") + QByteArray(good).replace("aGk=", "aGk-") + "]", // the URL-safe alphabet
             QByteArray("[") + QByteArray(good).replace("{\"t\"", "[\"t\"") + "]",
             QByteArray("[") + QByteArray(good).replace("1}", "1,\"x\":tru}") + "]",
             QByteArray(""),
         })
        EXPECT_FALSE(decodes(bad)) << bad.left(120).constData();
    // Small numbers read as zero rather than failing.
    const auto tiny = decodes(QByteArray("[") + QByteArray(good).replace("1}", "1e-400}") + "]");
    ASSERT_TRUE(tiny);
    EXPECT_EQ(tiny->front().copiedAt, 0);
}

// Long strings are crossed in blocks: an escape, a character beyond ASCII, a stray control
// character or the closing quote reads the same on either side of a block's edge.
TEST_F(PinsFileTest, LongStringsReadTheSameWhereverTheirSpecialCharactersFall) {
    const QByteArray head =
        R"([{"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","payload":{"items":[{"t":"aGk="}]},"source":")";
    const QByteArray tail = R"(","copiedAt":1}])";
    const auto source = [&](const QByteArray& text) -> std::optional<QString> {
        const auto clips = PinsFile::decode(head + text + tail);
        if (!clips) return std::nullopt;
        return clips->front().source;
    };
    for (int at = 0; at < 140; ++at) {
        const QByteArray before(at, 'a');
        const QByteArray after(140 - at, 'z');
        EXPECT_EQ(source(before), QString::fromLatin1(before)) << at;
        EXPECT_EQ(source(before + after), QString::fromLatin1(before + after)) << at;
        EXPECT_EQ(source(before + "\\u0062\\/" + after), QString::fromLatin1(before + "b/" + after)) << at;
        EXPECT_EQ(source(before + "\xC3\xA9" + after), QString::fromUtf8(before + "\xC3\xA9" + after)) << at;
        EXPECT_FALSE(source(before + "\t" + after)) << at;
        EXPECT_FALSE(source(before + "\xC3" + after)) << at;
        EXPECT_FALSE(source(before + "\\" + after)) << at; // an escape of nothing it may escape
    }
}

// Base64 is read straight from the file where the value holds no escape, and through the JSON
// reader otherwise: an escaped character reads as itself wherever it falls, and whatever JSON
// refuses, or Base64 does, refuses the file either way.
TEST_F(PinsFileTest, Base64ReadsTheSameWrittenPlainOrEscaped) {
    const QByteArray head = R"([{"id":"0F8FAD5B-D9CB-469F-A165-70867728950E","payload":{"items":[{"t":")";
    const QByteArray tail = R"("}]},"source":"N","copiedAt":1}])";
    const auto payload = [&](const QByteArray& text) -> std::optional<QByteArray> {
        const auto clips = PinsFile::decode(head + text + tail);
        if (!clips) return std::nullopt;
        return clips->front().payload.items.front().types.front().second;
    };
    QByteArray bytes(75, Qt::Uninitialized);
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<char>(i * 37 + 11);
    const QByteArray plain = bytes.toBase64(); // 100 characters, "/" and "+" among them
    ASSERT_EQ(payload(plain), bytes);
    for (int at = 0; at < plain.size(); ++at) {
        const QByteArray before = plain.left(at);
        const QByteArray after = plain.mid(at + 1);
        const char c = plain[at];
        const QByteArray unicode = "\\u00" + QByteArray::number(static_cast<unsigned char>(c), 16);
        EXPECT_EQ(payload(before + unicode + after), bytes) << at;
        if (c == '/') {
            EXPECT_EQ(payload(before + "\\/" + after), bytes) << at;
        }
        EXPECT_FALSE(payload(before + "\\n" + after)) << at;  // an escaped character outside the alphabet
        EXPECT_FALSE(payload(before + "\\\"" + after)) << at; // an escaped quote
        EXPECT_FALSE(payload(before + "\\" + after)) << at;   // an escape of nothing it may escape
        EXPECT_FALSE(payload(before + "\xC3\xA9" + after.mid(1))) << at; // beyond ASCII
    }
    EXPECT_FALSE(PinsFile::decode(head + plain)); // no closing quote
    EXPECT_FALSE(PinsFile::decode(head + plain + "\\"));
}

TEST_F(PinsFileTest, Base64DecodesEveryPaddingExactly) {
    for (const QByteArray& bytes : {QByteArray(), QByteArray("h"), QByteArray("hi"), QByteArray("hi!"),
                                    QByteArray("\x00\xFF\x10\x80", 4), QByteArray(1000, '\xAB')}) {
        SavedClip clip = savedClip(ClipPayload{{PasteboardItem{{{ClipTypes::png, bytes}}}}});
        const auto decoded = PinsFile::decode(PinsFile::encode({clip}));
        ASSERT_TRUE(decoded);
        EXPECT_EQ(decoded->front().payload, clip.payload) << bytes.toHex().constData();
    }
}

TEST_F(PinsFileTest, SavingFailsWhenTheFolderCannotBeCreated) {
    writeRaw("");
    // A file where the folder should be.
    const QString blocked = dir.filePath("Fenwold/clipboard-pins.json/inner/clipboard-pins.json");
    EXPECT_FALSE(PinsFile::save(blocked, {savedClip(textPayload("x"))}));
}

} // namespace
