#include "Base64.h"

#include <array>
#include <cstdint>

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define FENWOLD_BASE64_AVX2 1
#include <immintrin.h>
#endif

namespace fenwold::Base64 {

namespace {

// Each character's six bits, already shifted to their place in a group of three bytes; anything
// else sets bit 24, so one test per group of four finds any stray character.
struct GroupTables {
    std::array<std::array<uint32_t, 256>, 4> shifted{};
    constexpr GroupTables() {
        constexpr std::string_view alphabet =
            "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
        for (auto& table : shifted)
            for (auto& entry : table)
                entry = 1u << 24;
        for (uint32_t value = 0; value < 64; ++value) {
            const auto c = static_cast<unsigned char>(alphabet[value]);
            for (int slot = 0; slot < 4; ++slot)
                shifted[slot][c] = value << (18 - 6 * slot);
        }
    }
};
constexpr GroupTables kGroups;

uint32_t group(const char* in) {
    return kGroups.shifted[0][static_cast<unsigned char>(in[0])] |
           kGroups.shifted[1][static_cast<unsigned char>(in[1])] |
           kGroups.shifted[2][static_cast<unsigned char>(in[2])] |
           kGroups.shifted[3][static_cast<unsigned char>(in[3])];
}

// Decodes whole blocks of unpadded groups from the start, stopping before the first block that
// holds anything outside the alphabet (the groups after are decoded one at a time, which finds
// the fault); returns how many groups it decoded.
using BlockDecoder = std::size_t (*)(const char* in, std::size_t groups, unsigned char* out);

#ifdef FENWOLD_BASE64_AVX2
// A table's 16 entries in both halves: a byte shuffle looks up within its own half.
__attribute__((target("avx2"))) __m256i bothHalves(__m128i entries) {
    return _mm256_broadcastsi128_si256(entries);
}

// 32 characters to 24 bytes a step. Each character's two nibbles look up bit sets that share a
// bit only for characters outside the alphabet; the high nibble (with "/" told apart from "+")
// then picks the offset from character to value, and two multiply-adds pack four six-bit values
// into three bytes.
__attribute__((target("avx2"))) std::size_t avx2Blocks(const char* in, std::size_t groups,
                                                       unsigned char* out) {
    const __m256i byLow = bothHalves(_mm_setr_epi8(0x15, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x11,
                                                   0x13, 0x1A, 0x1B, 0x1B, 0x1B, 0x1A));
    const __m256i byHigh = bothHalves(_mm_setr_epi8(0x10, 0x10, 0x01, 0x02, 0x04, 0x08, 0x04, 0x08, 0x10,
                                                    0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x10));
    // "/" (high nibble 2, less one), "+" and digits (2, 3), "A"–"Z" (4, 5), "a"–"z" (6, 7).
    const __m256i offsets =
        bothHalves(_mm_setr_epi8(0, 16, 19, 4, -65, -65, -71, -71, 0, 0, 0, 0, 0, 0, 0, 0));
    const __m256i nibble = _mm256_set1_epi8(0x0F);
    const __m256i slash = _mm256_set1_epi8('/');
    const __m256i pairs = _mm256_set1_epi32(0x01400140); // a * 64 + b in each 16 bits
    const __m256i quads = _mm256_set1_epi32(0x00011000); // ab * 4096 + cd in each 32 bits
    // Each 32 bits' three low bytes, high first, packed to the front of each half, then the halves
    // joined.
    const __m256i order = bothHalves(_mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, -1, -1, -1, -1));
    const __m256i join = _mm256_setr_epi32(0, 1, 2, 4, 5, 6, 3, 7);
    std::size_t done = 0;
    for (; groups - done >= 8; done += 8, in += 32, out += 24) {
        const __m256i text = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in));
        const __m256i high = _mm256_and_si256(_mm256_srli_epi32(text, 4), nibble);
        const __m256i low = _mm256_and_si256(text, nibble);
        if (!_mm256_testz_si256(_mm256_shuffle_epi8(byLow, low), _mm256_shuffle_epi8(byHigh, high))) break;
        const __m256i offset =
            _mm256_shuffle_epi8(offsets, _mm256_add_epi8(_mm256_cmpeq_epi8(text, slash), high));
        const __m256i values = _mm256_add_epi8(text, offset);
        const __m256i merged = _mm256_madd_epi16(_mm256_maddubs_epi16(values, pairs), quads);
        const __m256i bytes = _mm256_permutevar8x32_epi32(_mm256_shuffle_epi8(merged, order), join);
        // 24 bytes: the output ends there when this is the last block.
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm256_castsi256_si128(bytes));
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + 16), _mm256_extracti128_si256(bytes, 1));
    }
    return done;
}
#endif

BlockDecoder blockDecoder() {
#ifdef FENWOLD_BASE64_AVX2
    static const BlockDecoder chosen = __builtin_cpu_supports("avx2") ? avx2Blocks : nullptr;
    return chosen;
#else
    return nullptr;
#endif
}

std::optional<QByteArray> decodeWith(std::string_view text, BlockDecoder blocks) {
    if (text.size() % 4 != 0) return std::nullopt;
    if (text.empty()) return QByteArray();
    const std::size_t padding = text.back() != '=' ? 0 : text[text.size() - 2] != '=' ? 1 : 2;
    const std::size_t groups = text.size() / 4;
    QByteArray bytes(static_cast<qsizetype>(groups * 3 - padding), Qt::Uninitialized);
    auto* out = reinterpret_cast<unsigned char*>(bytes.data());
    const char* in = text.data();
    // Every group but the last holds no padding.
    std::size_t g = blocks ? blocks(in, groups - 1, out) : 0;
    in += 4 * g;
    out += 3 * g;
    for (; g + 1 < groups; ++g, in += 4, out += 3) {
        const uint32_t bits = group(in);
        if (bits >> 24) return std::nullopt;
        out[0] = static_cast<unsigned char>(bits >> 16);
        out[1] = static_cast<unsigned char>(bits >> 8);
        out[2] = static_cast<unsigned char>(bits);
    }
    // The last group, with its padding read as zero bits.
    const char last[4] = {in[0], in[1], padding == 2 ? 'A' : in[2], padding >= 1 ? 'A' : in[3]};
    const uint32_t bits = group(last);
    if (bits >> 24) return std::nullopt;
    out[0] = static_cast<unsigned char>(bits >> 16);
    if (padding < 2) out[1] = static_cast<unsigned char>(bits >> 8);
    if (padding < 1) out[2] = static_cast<unsigned char>(bits);
    return bytes;
}

} // namespace

std::optional<QByteArray> decode(std::string_view text) {
    return decodeWith(text, blockDecoder());
}

std::optional<QByteArray> decodeByGroups(std::string_view text) {
    return decodeWith(text, nullptr);
}

bool decodesBlocks() {
    return blockDecoder() != nullptr;
}

} // namespace fenwold::Base64
