// Clipboard hot paths: hashing a large copy, searching a full history, colouring and detecting
// code, and loading the pins file near its bounds.
#include "core/clipboard/ClipboardCode.h"
#include "core/clipboard/ClipboardShelfModel.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/clipboard/PinsFile.h"
#include "platform/sim/SimSession.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace fenwold;

namespace {

ClipPayload textPayload(const QByteArray& bytes) {
    return ClipPayload{{PasteboardItem{{{ClipTypes::string, bytes}}}}};
}

// Prose-like filler of the given size in bytes, in lower case or with each line's first word
// capitalised.
QByteArray filler(qsizetype bytes, int seed, bool capitals = false) {
    static const char* words[] = {"lorem",      "ipsum",  "dolor", "sit",   "amet",    "consectetur",
                                  "adipiscing", "elit",   "sed",   "do",    "eiusmod", "tempor",
                                  "incididunt", "labore", "magna", "aliqua"};
    QByteArray out;
    out.reserve(bytes);
    unsigned state = static_cast<unsigned>(seed) * 2654435761u + 1;
    while (out.size() < bytes) {
        state = state * 1103515245u + 12345u;
        const qsizetype word = out.size();
        out += words[(state >> 16) % 16];
        if (capitals && (word == 0 || out[word - 1] == '\n'))
            out[word] = static_cast<char>(out[word] - 'a' + 'A');
        out += ((state >> 8) % 11 == 0) ? '\n' : ' ';
    }
    out.truncate(bytes);
    return out;
}

void BM_Fingerprint32MiB(benchmark::State& state) {
    const ClipPayload payload = textPayload(filler(32 * 1024 * 1024, 1));
    for (auto _ : state)
        benchmark::DoNotOptimize(payload.fingerprint());
    state.SetBytesProcessed(state.iterations() * payload.byteCount());
}
BENCHMARK(BM_Fingerprint32MiB)->Unit(benchmark::kMillisecond);

void BM_VisibleTwoTermQuery(benchmark::State& state) {
    SimSession sim;
    ClipboardStore store(
        std::nullopt, sim.pasteboard, [] { return true; },
        ClipboardStoreServices{&sim.mainQueue, &sim.worker, [] { return std::nullopt; }, &sim.clock,
                               std::nullopt});
    // 100 clips of 640 KiB each, 64 MiB of text; the second term sits at the very end of a few.
    // With capitals the text is lower-cased while it is searched.
    for (int i = 0; i < 100; ++i) {
        QByteArray text = filler(671088 - 16, i, state.range(0) != 0);
        text += i % 25 == 0 ? " zephyrquartz" : " plainending";
        store.insert(ClipboardEntry(
            SavedClip{QUuid::createUuid(), textPayload(text), "Notes", std::nullopt, 0}, false));
    }
    ClipboardShelfModel model(store);
    model.setQuery(QStringLiteral("Tempor ZÉPHYRQUARTZ"));
    std::size_t found = 0;
    for (auto _ : state) {
        found = model.visible().size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = static_cast<double>(found);
}
BENCHMARK(BM_VisibleTwoTermQuery)->ArgName("capitals")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_Highlight40000Characters(benchmark::State& state) {
    QString code;
    while (code.size() < 40000)
        code +=
            QStringLiteral("export function area(r) { // circle\n  const pi = 3.14159; return pi * r * r; "
                           "# \"text\" 'x'\n}\n");
    code.truncate(40000);
    for (auto _ : state)
        benchmark::DoNotOptimize(ClipboardCode::highlight(code));
}
BENCHMARK(BM_Highlight40000Characters)->Unit(benchmark::kMillisecond);

// Prose with no code-like line: the pattern scans the whole 12000-character head.
void BM_IsCode48000Characters(benchmark::State& state) {
    const QString prose = QString::fromLatin1(filler(48000, 7));
    bool code = true;
    for (auto _ : state) {
        code = ClipPayload::isCode(prose);
        benchmark::DoNotOptimize(code);
    }
    if (code) state.SkipWithError("the prose was taken for code");
}
BENCHMARK(BM_IsCode48000Characters)->Unit(benchmark::kMillisecond);

// 20 records just under 32 MiB of payload together.
std::vector<SavedClip> pinsNearTheCaps() {
    std::vector<SavedClip> clips;
    const qsizetype each = (33554432 - 1024) / 20;
    for (int i = 0; i < 20; ++i)
        clips.push_back(
            SavedClip{QUuid::createUuid(), textPayload(filler(each, i)), "Notes", "com.apple.Notes", 0});
    return clips;
}

// The whole load: file, records and the rows built from them.
void BM_LoadPinsNearTheCaps(benchmark::State& state) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Fenwold/clipboard-pins.json");
    if (!PinsFile::save(path, pinsNearTheCaps())) state.SkipWithError("could not write the pins file");
    qsizetype loaded = 0;
    for (auto _ : state) {
        loaded = static_cast<qsizetype>(PinsFile::load(path).entries.size());
        benchmark::DoNotOptimize(loaded);
    }
    state.counters["records"] = static_cast<double>(loaded);
    state.counters["fileMiB"] = static_cast<double>(QFileInfo(path).size()) / (1024 * 1024);
}
BENCHMARK(BM_LoadPinsNearTheCaps)->Unit(benchmark::kMillisecond)->Iterations(3);

// The reader alone: the file's bytes to records (JSON and Base64).
void BM_DecodePinsNearTheCaps(benchmark::State& state) {
    const QByteArray file = PinsFile::encode(pinsNearTheCaps());
    std::size_t records = 0;
    for (auto _ : state) {
        records = PinsFile::decode(file).value_or(std::vector<SavedClip>{}).size();
        benchmark::DoNotOptimize(records);
    }
    if (records != 20) state.SkipWithError("the file did not read back");
    state.SetBytesProcessed(state.iterations() * file.size());
}
BENCHMARK(BM_DecodePinsNearTheCaps)->Unit(benchmark::kMillisecond)->Iterations(5);

} // namespace
