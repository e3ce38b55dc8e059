// The hint texts: in the Mac half, a token starting with "~" is a word and every other token a
// keycap. Any text splits into segments that give back exactly its tokens, words of one run
// joined by single spaces, and no keycap is blank.
#include "FuzzSupport.h"
#include "core/hints/HintHUD.h"

#include <QStringList>

using namespace fenwold;
using fenwold::fuzz::quoted;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 16 * 1024) return -1;
    const QString mac = fuzz::textOf(data, size);
    const auto segments = Hint::segments(mac);

    // Rebuild the token list from the segments.
    QStringList rebuilt;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        const auto& s = segments[i];
        if (s.kind == Hint::Segment::Kind::key) {
            FUZZ_CHECK(!s.text.isEmpty() && !s.text.contains(QLatin1Char(' ')), "keycap " + quoted(s.text));
            rebuilt << s.text;
            continue;
        }
        FUZZ_CHECK(i == 0 || segments[i - 1].kind == Hint::Segment::Kind::key, "two word runs in a row");
        for (const QString& word : s.text.split(QLatin1Char(' ')))
            rebuilt << QLatin1Char('~') + word;
    }
    FUZZ_CHECK(rebuilt == mac.split(QLatin1Char(' '), Qt::SkipEmptyParts),
               "segments lost tokens of " + quoted(mac));

    const Hint hint{QStringLiteral("Ctrl+C"), mac, std::nullopt};
    FUZZ_CHECK(hint.heading() == QStringLiteral("Ctrl+C — the Mac way"), "heading");
    return 0;
}
