// Base64 decoding: whole blocks at once where the processor allows it, always to the same bytes,
// and to the same refusals, as decoding one group at a time.
#include "core/clipboard/Base64.h"

#include <gtest/gtest.h>
#include <random>
#include <string>

using namespace fenwold;

namespace {

constexpr std::string_view kAlphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

std::string view(const QByteArray& bytes) {
    return bytes.toStdString();
}

QByteArray randomBytes(std::mt19937& random, std::size_t size) {
    QByteArray bytes(static_cast<qsizetype>(size), Qt::Uninitialized);
    for (char& c : bytes)
        c = static_cast<char>(random() & 0xFF);
    return bytes;
}

// Both decoders on the text; returns the (agreed) result.
std::optional<QByteArray> decodeBoth(std::string_view text) {
    const auto blocks = Base64::decode(text);
    const auto groups = Base64::decodeByGroups(text);
    EXPECT_EQ(blocks, groups) << std::string(text.substr(0, 200));
    return blocks;
}

// Where the processor can, the comparisons below are between two different decoders.
TEST(Base64Test, TakesBlocksWhereTheProcessorCan) {
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
    EXPECT_EQ(Base64::decodesBlocks(), __builtin_cpu_supports("avx2") != 0);
#else
    EXPECT_FALSE(Base64::decodesBlocks());
#endif
}

TEST(Base64Test, DecodesWhatWasEncodedAtEveryLength) {
    std::mt19937 random(7);
    for (std::size_t size = 0; size <= 300; ++size) {
        const QByteArray bytes = randomBytes(random, size);
        EXPECT_EQ(decodeBoth(view(bytes.toBase64())), bytes) << size;
    }
    // Long enough for many blocks, in a run with and without a last partial group.
    for (std::size_t size : {std::size_t{1} << 20, (std::size_t{1} << 20) + 1, (std::size_t{1} << 20) + 2}) {
        const QByteArray bytes = randomBytes(random, size);
        EXPECT_EQ(decodeBoth(view(bytes.toBase64())), bytes) << size;
    }
}

// Every byte value at every place of a text spanning several blocks and a tail of single groups:
// a character of the alphabet decodes to its value there (as Qt decodes it), anything else refuses
// the whole text.
TEST(Base64Test, EveryByteAtEveryPlaceReadsAsTheAlphabetSays) {
    std::mt19937 random(11);
    // 3 blocks of 8 groups and 3 more groups, the last one full.
    const std::string good = view(randomBytes(random, 27 * 3).toBase64());
    ASSERT_EQ(good.size(), 108u);
    ASSERT_EQ(good.find('='), std::string::npos);
    for (std::size_t at = 0; at < good.size(); ++at) {
        for (int value = 0; value < 256; ++value) {
            std::string text = good;
            text[at] = static_cast<char>(value);
            const auto decoded = decodeBoth(text);
            const auto sextet = kAlphabet.find(static_cast<char>(value));
            // "=" only ends the text: in the last group's last places it is padding.
            const bool padding = value == '=' && at == good.size() - 1;
            ASSERT_EQ(decoded.has_value(), sextet != std::string_view::npos || padding) << at << " " << value;
            if (decoded) {
                EXPECT_EQ(*decoded, QByteArray::fromBase64(QByteArray::fromStdString(text)));
            }
        }
    }
}

// Texts of every length up to 100, mostly of the alphabet with now and then anything at all.
TEST(Base64Test, RandomTextsReadTheSameBothWays) {
    std::mt19937 random(13);
    for (std::size_t size = 0; size <= 100; ++size) {
        for (int trial = 0; trial < 200; ++trial) {
            std::string text(size, 'A');
            for (char& c : text)
                c = random() % 64 ? kAlphabet[random() % 64] : static_cast<char>(random() & 0xFF);
            if (size >= 2 && random() % 4 == 0) text[size - 1] = '=';
            if (size >= 2 && random() % 8 == 0) text[size - 2] = '=';
            decodeBoth(text);
        }
    }
}

TEST(Base64Test, PaddingOnlyEndsTheText) {
    const std::string run(64, 'Q'); // two blocks of "AAAA…" = 0x41 0x04 0x10 …
    const auto head = Base64::decode(run);
    ASSERT_TRUE(head);
    for (const std::string tail : {"", "QQ==", "QUE=", "QUFB"}) {
        const auto decoded = decodeBoth(run + tail);
        ASSERT_TRUE(decoded) << tail;
        EXPECT_EQ(*decoded, *head + QByteArray::fromBase64(QByteArray::fromStdString(tail))) << tail;
    }
    for (const std::string bad : {"====", "Q===", "QQ=Q", "=QQQ", "Q=QQ", "QQ", "QQQ", "QQ=", "QQQQQ"}) {
        EXPECT_FALSE(decodeBoth(bad)) << bad;
        EXPECT_FALSE(decodeBoth(run + bad)) << bad;
        EXPECT_FALSE(decodeBoth(bad + run)) << bad;
        EXPECT_FALSE(decodeBoth(run + bad + run)) << bad;
    }
    EXPECT_EQ(decodeBoth(""), QByteArray());
}

// A long text with one fault anywhere is refused whole.
TEST(Base64Test, OneStrayCharacterRefusesALongText) {
    std::mt19937 random(17);
    const std::string good = view(randomBytes(random, 3 * 20000).toBase64());
    for (const char stray : {'\0', '\n', ' ', '"', '\\', '-', '_', '=', '.', '\x80', '\xFF'}) {
        for (int trial = 0; trial < 20; ++trial) {
            std::string text = good;
            text[random() % text.size()] = stray;
            EXPECT_FALSE(decodeBoth(text)) << int(stray);
        }
    }
}

} // namespace
