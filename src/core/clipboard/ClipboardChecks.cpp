#include "ClipboardChecks.h"

#include "ClipboardShelfModel.h"
#include "ClipboardStore.h"
#include "ports/Log.h"
#include "ports/Pasteboard.h"

#include <QBuffer>
#include <QImage>
#include <QTemporaryDir>
#include <deque>
#include <map>

namespace fenwold {

namespace {

// Throwaway collaborators: an in-memory pasteboard, and one queue standing in for both the main
// queue and the worker, run step by step on a virtual clock.
class ScratchPasteboard final : public Pasteboard {
public:
    long changeCount() const override { return count_; }
    std::vector<PasteboardTypes> itemTypes() const override { return typesOf(items_); }
    QByteArray data(std::size_t index, const QString& type) const override {
        return dataOf(items_, index, type);
    }
    const std::vector<PasteboardItem>& contents() const { return items_; }
    bool write(const std::vector<PasteboardItem>& items) override {
        ++count_;
        items_ = items;
        return true;
    }
    void copy(std::vector<PasteboardItem> items) {
        ++count_;
        items_ = std::move(items);
    }

private:
    long count_ = 1;
    std::vector<PasteboardItem> items_;
};

class ScratchQueues final : public MainQueue, public SerialQueue {
public:
    void post(std::function<void()> work) override { posted_.push_back(std::move(work)); }
    void async(std::function<void()> work) override { worker_.push_back(std::move(work)); }
    TimerHandle after(double seconds, std::function<void()> work) override {
        return schedule(seconds, 0, work);
    }
    TimerHandle every(double seconds, double, std::function<void()> work) override {
        return schedule(seconds, seconds, work);
    }
    double uptime() const override { return now_; }

    // Let time pass, firing timers, then finish all worker and main-thread work.
    void advance(double seconds) {
        const double end = now_ + seconds;
        while (!timers_.empty() && timers_.begin()->first.first <= end) {
            auto node = timers_.extract(timers_.begin());
            Timer& timer = node.mapped();
            now_ = node.key().first;
            if (timer.state->cancelled) continue;
            timer.work();
            if (timer.interval > 0 && !timer.state->cancelled)
                timers_.emplace(std::make_pair(now_ + timer.interval, sequence_++), std::move(timer));
            else
                timer.state->done = true;
        }
        now_ = end;
        settle();
    }
    void settle() {
        while (!worker_.empty() || !posted_.empty()) {
            while (!worker_.empty())
                take(worker_)();
            while (!posted_.empty())
                take(posted_)();
        }
    }

private:
    struct Timer {
        std::function<void()> work;
        std::shared_ptr<TimerHandle::State> state;
        double interval = 0;
    };
    static std::function<void()> take(std::deque<std::function<void()>>& queue) {
        auto work = std::move(queue.front());
        queue.pop_front();
        return work;
    }
    TimerHandle schedule(double seconds, double interval, std::function<void()> work) {
        auto state = std::make_shared<TimerHandle::State>();
        timers_.emplace(std::make_pair(now_ + seconds, sequence_++), Timer{std::move(work), state, interval});
        return TimerHandle(state);
    }

    std::deque<std::function<void()>> posted_;
    std::deque<std::function<void()>> worker_;
    std::map<std::pair<double, uint64_t>, Timer> timers_;
    uint64_t sequence_ = 0;
    double now_ = 0;
};

class ScratchClock final : public WallClock {
public:
    double now() const override { return 786'000'000; }
};

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

// One scratch store with its collaborators.
struct Scratch {
    ScratchPasteboard pasteboard;
    ScratchQueues queues;
    ScratchClock clock;
    bool enabled = true;
    std::optional<RunningApp> front =
        app(501, QStringLiteral("com.apple.TextEdit"), QStringLiteral("TextEdit"));
    std::unique_ptr<ClipboardStore> store;

    explicit Scratch(std::optional<QString> pins = std::nullopt) { reopen(std::move(pins)); }
    void reopen(std::optional<QString> pins) {
        store = std::make_unique<ClipboardStore>(
            std::move(pins), pasteboard, [this] { return enabled; },
            ClipboardStoreServices{&queues, &queues, [this] { return front; }, &clock,
                                   QStringLiteral("org.fenwold.Fenwold")});
        store->start();
        queues.settle();
    }
    void copy(std::vector<PasteboardItem> items) {
        pasteboard.copy(std::move(items));
        queues.advance(ClipboardStore::pollInterval);
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
    ScratchPasteboard pasteboard;
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
    ScratchPasteboard pasteboard;
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
    scratch.queues.advance(1);
    expect(scratch.store->entries().size() == 1, "a copy made while paused appeared", f);

    scratch.pasteboard.copy({text("in flight")});
    scratch.enabled = false;
    scratch.queues.advance(ClipboardStore::pollInterval);
    scratch.enabled = true;
    scratch.queues.advance(1);
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
    scratch.queues.settle();
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
