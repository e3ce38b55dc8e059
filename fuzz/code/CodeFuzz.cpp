// Code detection and highlighting on any text, unpaired surrogates included: detection answers
// quickly, and the highlight keeps the text and colours ascending, non-overlapping stretches
// inside it that never split a surrogate pair.
#include "FuzzSupport.h"
#include "core/clipboard/ClipPayload.h"
#include "core/clipboard/ClipboardCode.h"

using namespace fenwold;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 128 * 1024) return -1;
    const QString text = fuzz::textOf(data, size);
    (void)ClipPayload::isCode(text);

    const StyledText styled = ClipboardCode::highlight(text);
    FUZZ_CHECK(styled.text == text, "highlighting changed the text");
    qsizetype end = 0;
    for (const ColorRun& run : styled.runs) {
        const std::string where =
            "run at " + std::to_string(run.start) + " length " + std::to_string(run.length);
        FUZZ_CHECK(run.length > 0, where);
        FUZZ_CHECK(run.start >= end, "runs overlap or go backwards: " + where);
        FUZZ_CHECK(run.start + run.length <= text.size(), "run beyond the text: " + where);
        for (const qsizetype edge : {run.start, run.start + run.length})
            FUZZ_CHECK(edge == 0 || edge == text.size() || !text[edge].isLowSurrogate() ||
                           !text[edge - 1].isHighSurrogate(),
                       "run splits a surrogate pair: " + where);
        end = run.start + run.length;
    }
    return 0;
}
