#include "ClipboardChecks.h"

#include "core/clipboard/ClipboardShelfModel.h"
#include "core/clipboard/ClipboardStore.h"
#include "platform/sim/ManualQueue.h"
#include "platform/sim/SimClock.h"
#include "platform/sim/SimPasteboard.h"
#include "platform/sim/VirtualMainQueue.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <deque>
#include <map>

namespace fenwold {

namespace {

RunningApp app(int32_t pid, const QString& bundleID, const QString& name) {
    RunningApp running;
    running.pid = pid;
    running.bundleID = bundleID;
    running.name = name;
    return running;
}

PasteboardItem text(const QString& words) {
    return PasteboardItem{{{ClipTypes::string, words.toUtf8()}}};
}

ClipboardEntry entry(const QString& words, const QString& source = QStringLiteral("Notes")) {
    return ClipboardEntry(SavedClip{QUuid::createUuid(), ClipPayload{{text(words)}}, source, std::nullopt, 0},
                          false);
}

QByteArray png() {
    QImage image(4, 4, QImage::Format_ARGB32);
    image.fill(Qt::blue);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// One scratch store with the simulated session's pasteboard, queues and clock, on the virtual
// clock, its worker run step by step.
struct Scratch {
    SimPasteboard pasteboard;
    VirtualMainQueue mainQueue;
    ManualQueue worker;
    SimClock clock;
    bool enabled = true;
    std::optional<RunningApp> front =
        app(501, QStringLiteral("com.apple.TextEdit"), QStringLiteral("TextEdit"));
    std::unique_ptr<ClipboardStore> store;

    explicit Scratch(std::optional<QString> pins = std::nullopt) { reopen(std::move(pins)); }
    void reopen(std::optional<QString> pins) {
        store = std::make_unique<ClipboardStore>(
            std::move(pins), pasteboard, [this] { return enabled; },
            ClipboardStoreServices{&mainQueue, &worker, [this] { return front; }, &clock,
                                   QStringLiteral("org.fenwold.Fenwold")});
        store->start();
        settle();
    }
    // Let time pass, then finish all worker and main-thread work.
    void advance(double seconds) {
        mainQueue.advance(seconds);
        settle();
    }
    void settle() {
        do
            mainQueue.drain();
        while (worker.runAll() > 0);
    }
    void copy(const std::vector<PasteboardItem>& items) {
        pasteboard.copy(items);
        advance(ClipboardStore::pollInterval);
    }
};

void expect(bool condition, const char* what, QStringList& failures) {
    if (!condition) failures << QStringLiteral("Clipboard: ") + QString::fromUtf8(what);
}

void checkClassification(QStringList& f) {
    const auto kind = [](const QString& words) { return ClipPayload{{text(words)}}.kind(); };
    expect(kind(" https://example.com ") == ClipKind::link, "a trimmed https address is a link", f);
    expect(kind("https://example.com/a b") == ClipKind::text, "an address with a space is text", f);
    expect(kind("ftp://example.com") == ClipKind::text, "an ftp address is text", f);
    expect(kind("SELECT 1") == ClipKind::code && kind("select 1") == ClipKind::text, "SQL is case-sensitive",
           f);
    expect(kind("{\"a\": 1}") == ClipKind::code, "JSON is code", f);
    expect(ClipPayload{{PasteboardItem{{{ClipTypes::png, png()}}}}}.kind() == ClipKind::image,
           "PNG is an image", f);
    const PasteboardItem a{{{ClipTypes::string, "x"}, {ClipTypes::html, "<i>x</i>"}}};
    const PasteboardItem b{{{ClipTypes::html, "<i>x</i>"}, {ClipTypes::string, "x"}}};
    expect(ClipPayload{{a}}.fingerprint() == ClipPayload{{b}}.fingerprint(),
           "type order changes the fingerprint", f);
}

void checkPrivacy(QStringList& f) {
    SimPasteboard pasteboard;
    pasteboard.copy({text("secret")});
    expect(!ClipPayload::capture(pasteboard, QStringLiteral("com.bitwarden.desktop")),
           "a password manager's copy was kept", f);
    pasteboard.copy({PasteboardItem{{{ClipTypes::string, "x"}, {"org.nspasteboard.ConcealedType", ""}}}});
    expect(!ClipPayload::capture(pasteboard, std::nullopt), "a concealed copy was kept", f);
    pasteboard.copy({PasteboardItem{{{"public.file-url", "file:///a"}, {ClipTypes::string, "a"}}}});
    expect(!ClipPayload::capture(pasteboard, std::nullopt), "a file copy was kept", f);
    pasteboard.copy({text("fine")});
    expect(ClipPayload::capture(pasteboard, std::nullopt).has_value(), "an ordinary copy was refused", f);
}

void checkRestoration(QStringList& f) {
    SimPasteboard pasteboard;
    const PasteboardItem rich{{{ClipTypes::string, "w"}, {ClipTypes::html, "<b>w</b>"}}};
    expect(ClipPayload{{rich}}.write(pasteboard, false) && pasteboard.contents() == std::vector{rich},
           "rich write-back lost a type", f);
    expect(ClipPayload{{rich}}.write(pasteboard, true) && pasteboard.contents() == std::vector{text("w")},
           "plain write-back kept more than plain text", f);
    const ClipPayload image{{PasteboardItem{{{ClipTypes::png, png()}}}}};
    expect(image.write(pasteboard, false) && pasteboard.contents() == image.items,
           "an image was not restored", f);
    const long count = pasteboard.changeCount();
    expect(!image.write(pasteboard, true) && pasteboard.changeCount() == count,
           "plain write-back of an image touched the pasteboard", f);
}

void checkBounds(QStringList& f) {
    Scratch scratch;
    scratch.copy({text(QString(33554433, QChar('a')))});
    expect(scratch.store->entries().empty(), "a copy over 32 MiB was kept", f);
    scratch.copy({text(QString(33554432, QChar('b')))});
    expect(scratch.store->entries().size() == 1, "a copy of exactly 32 MiB was refused", f);
    for (int i = 0; i < 120; ++i)
        scratch.store->insert(entry(QString::number(i)));
    expect(scratch.store->entries().size() == 100, "the history holds more than 100 clips", f);
}

void checkPins(QStringList& f) {
    Scratch scratch;
    for (int i = 0; i < 25; ++i)
        scratch.store->insert(entry(QString::number(i)));
    for (int i = 0; i < 21; ++i)
        scratch.store->togglePin(scratch.store->entries()[static_cast<std::size_t>(i)].id());
    expect(!scratch.store->entries()[20].pinned, "a 21st pin was accepted", f);
    expect(scratch.store->message() == ClipboardStore::pinsFullMessage, "a refused pin said nothing", f);
    scratch.store->clearRecent();
    expect(scratch.store->entries().size() == 20 && scratch.store->entries().front().text() == "24",
           "clearing recent clips touched the pins", f);
}

void checkSearchAndNavigation(QStringList& f) {
    Scratch scratch;
    scratch.store->insert(entry(QStringLiteral("Crème brûlée recipe"), QStringLiteral("Notes")));
    scratch.store->insert(entry(QStringLiteral("creme tickets"), QStringLiteral("Mail")));
    scratch.store->insert(entry(QStringLiteral("third")));
    ClipboardShelfModel model(*scratch.store);
    model.setQuery(QStringLiteral("CREME notes"));
    const auto found = model.visible();
    expect(found.size() == 1 && found.front()->text().startsWith("Crème"), "accent-free search missed a clip",
           f);
    model.setQuery(QString());
    model.move(1);
    expect(model.selected() && model.selected()->text() == "creme tickets", "moving down from no selection",
           f);
    model.move(100);
    model.move(1);
    expect(model.selected() && model.selected()->text().startsWith("Crème"), "moving past the end", f);
}

void checkLifecycle(QStringList& f) {
    Scratch scratch;
    scratch.copy({text("first")});
    expect(scratch.store->entries().size() == 1 && scratch.store->entries()[0].saved.source == "TextEdit",
           "a copy was not captured with its source", f);
    scratch.copy({text("first")});
    scratch.store->togglePaused();
    scratch.copy({text("while paused")});
    scratch.store->togglePaused();
    scratch.advance(1);
    expect(scratch.store->entries().size() == 1, "a copy made while paused appeared", f);

    scratch.pasteboard.copy({text("in flight")});
    scratch.enabled = false;
    scratch.advance(ClipboardStore::pollInterval);
    scratch.enabled = true;
    scratch.advance(1);
    expect(scratch.store->entries().size() == 1, "a copy made while capture was off appeared", f);
    scratch.front = app(99, QStringLiteral("org.fenwold.Fenwold"), QStringLiteral("Fenwold"));
    scratch.copy({text("own copy")});
    expect(scratch.store->entries().size() == 1, "a copy made inside the program was captured", f);
}

void checkPersistence(QStringList& f) {
    QTemporaryDir dir;
    if (!dir.isValid()) {
        f << QStringLiteral("Clipboard: no scratch folder for the pins file");
        return;
    }
    const QString path = dir.filePath(QStringLiteral("Fenwold/clipboard-pins.json"));
    Scratch scratch(path);
    scratch.store->insert(entry(QStringLiteral("kept")));
    scratch.store->insert(entry(QStringLiteral("dropped")));
    scratch.store->insert(
        ClipboardEntry(SavedClip{QUuid::createUuid(),
                                 ClipPayload{{PasteboardItem{{{ClipTypes::png, png()}}}}}, "Photos", "x", 5},
                       false));
    scratch.store->togglePin(scratch.store->entries()[2].id());
    scratch.store->togglePin(scratch.store->entries()[0].id());
    scratch.settle();
    const std::vector<ClipboardEntry> before = scratch.store->entries();
    scratch.reopen(path);
    const auto& after = scratch.store->entries();
    expect(after.size() == 2 && after[0].saved == before[0].saved && after[1].saved == before[2].saved &&
               after[0].pinned && after[1].pinned,
           "pins did not survive a restart", f);
}

} // namespace

bool clipboardSelfcheck(QStringList& failures) {
    const auto before = failures.size();
    checkClassification(failures);
    checkPrivacy(failures);
    checkRestoration(failures);
    checkBounds(failures);
    checkPins(failures);
    checkSearchAndNavigation(failures);
    checkLifecycle(failures);
    checkPersistence(failures);
    return failures.size() == before;
}

} // namespace fenwold
