// The pins file survives what a Mac can do to a save: the process killed part way, a full disk,
// a folder that cannot be written, a folder where the file should be. The real save path runs
// in child processes, so the test itself is never killed or limited.
#include "ClipTestSupport.h"
#include "core/clipboard/ClipboardStore.h"
#include "core/clipboard/DurableFile.h"
#include "core/clipboard/PinsFile.h"
#include "platform/sim/SimSession.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <functional>
#include <random>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

using namespace fenwold;
using namespace fenwold::test;

namespace {

// Runs work in a child process and answers the text it reports.
std::string inChild(const std::function<std::string()>& work) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return "no pipe";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(pipeEnds[0]);
        const std::string report = work();
        [[maybe_unused]] const ssize_t sent = ::write(pipeEnds[1], report.data(), report.size());
        ::_exit(0);
    }
    ::close(pipeEnds[1]);
    std::string report;
    char chunk[512];
    for (ssize_t n; (n = ::read(pipeEnds[0], chunk, sizeof chunk)) > 0;)
        report.append(chunk, static_cast<size_t>(n));
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status)) report += " (child ended by signal " + std::to_string(WTERMSIG(status)) + ")";
    return report;
}

QByteArray contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Pins of text and an image, large enough that a save takes many writes.
std::vector<SavedClip> pinSet(const QString& tag, int count, int textBytes) {
    std::vector<SavedClip> set;
    for (int i = 0; i < count; ++i) {
        ClipPayload payload = textPayload(tag + QString::number(i) + QString(textBytes, QChar('a' + i % 26)));
        if (i == 0)
            payload.items.push_back(PasteboardItem{{{ClipTypes::png, pngBytes(64, 48, Qt::darkCyan)}}});
        set.push_back(savedClip(payload));
    }
    return set;
}

class PinsDurability : public ::testing::Test {
protected:
    // In memory where the system offers it: a kill lands in the save whatever the disk's speed,
    // and what a killed process leaves behind is the same on any file system.
    QTemporaryDir dir{QDir("/dev/shm").exists() ? QStringLiteral("/dev/shm/fenwold-pins-XXXXXX")
                                                : QDir::tempPath() + QStringLiteral("/fenwold-pins-XXXXXX")};
    QString folder() const { return dir.filePath("Fenwold"); }
    QString path() const { return dir.filePath("Fenwold/clipboard-pins.json"); }
    QStringList folderContents() const {
        return QDir(folder()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries);
    }
};

TEST_F(PinsDurability, AKillAtAnyMomentOfASaveLeavesExactlyTheOldPinsOrTheNewOnes) {
    const std::vector<SavedClip> first = pinSet("first", 3, 40'000);
    const std::vector<SavedClip> second = pinSet("second", 5, 25'000);
    ASSERT_TRUE(PinsFile::save(path(), first));
    // Kill moments spread over a few saves' time, whatever this disk's speed.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(PinsFile::save(path(), second));
    ASSERT_TRUE(PinsFile::save(path(), first));
    const qint64 saveMicros = std::max<qint64>(timer.nsecsElapsed() / 2000, 50);

    std::mt19937 random(20260101);
    int sawFirst = 0, sawSecond = 0;
    for (int round = 0; round < 300; ++round) {
        const pid_t saver = ::fork();
        if (saver == 0) {
            for (int i = 1;; ++i)
                PinsFile::save(path(), i % 2 ? second : first);
        }
        std::this_thread::sleep_for(std::chrono::microseconds(random() % (3 * saveMicros)));
        ::kill(saver, SIGKILL);
        ::waitpid(saver, nullptr, 0);

        const PinsFile::LoadResult loaded = PinsFile::load(path());
        ASSERT_FALSE(loaded.failed) << "round " << round;
        std::vector<SavedClip> records;
        for (const auto& entry : loaded.entries)
            records.push_back(entry.saved);
        ASSERT_TRUE(records == first || records == second) << "round " << round << ": " << records.size();
        (records == first ? sawFirst : sawSecond)++;
        // At most the one temporary file a save in progress uses.
        const QStringList left = folderContents();
        ASSERT_TRUE(left.size() == 1 || (left.size() == 2 && left.contains("clipboard-pins.json.saving")))
            << left.join(", ").toStdString();
    }
    EXPECT_GT(sawFirst, 0);
    EXPECT_GT(sawSecond, 0);
    RecordProperty("keptFirst", sawFirst);
    RecordProperty("keptSecond", sawSecond);
}

TEST_F(PinsDurability, TheNextSaveReplacesALeftoverTemporaryFile) {
    ASSERT_TRUE(PinsFile::save(path(), pinSet("old", 1, 10)));
    QFile leftover(durableTemporaryPath(path()));
    ASSERT_TRUE(leftover.open(QIODevice::WriteOnly));
    leftover.write("[{\"half a save");
    leftover.close();
    const auto pins = pinSet("new", 2, 10);
    ASSERT_TRUE(PinsFile::save(path(), pins));
    EXPECT_EQ(folderContents(), QStringList{"clipboard-pins.json"});
    EXPECT_EQ(PinsFile::load(path()).entries.size(), 2u);
}

// A store with two pins saved, whose next save meets a broken disk. Reports what a person would
// see, as "name=value" lines.
class FailingSave {
public:
    FailingSave(const QString& path) : path_(path) {}

    std::string run(const std::function<void()>& breakDisk, const std::function<void()>& repairDisk) {
        SimSession sim;
        sim.app("com.apple.Notes", "Notes").frontmost();
        ClipboardStore store(
            path_, sim.pasteboard, [] { return true; },
            ClipboardStoreServices{&sim.mainQueue, &sim.worker,
                                   [&sim] { return sim.workspace.frontmostApp(); }, &sim.clock,
                                   QStringLiteral("org.fenwold.Fenwold")});
        const auto settle = [&] {
            sim.worker.runAll();
            sim.mainQueue.drain();
        };
        store.start();
        settle();
        int failures = 0;
        const Subscription watch = store.observe([&] {
            if (store.message() == PinsFile::saveFailedMessage && !shown_) ++failures;
            shown_ = store.message() == PinsFile::saveFailedMessage;
        });
        for (const char* text : {"big", "second", "first"})
            store.insert(textEntry(text == std::string("big") ? QString(300'000, 'b') : text));
        store.togglePin(store.entries()[0].id()); // first
        store.togglePin(store.entries()[1].id()); // second
        settle();
        const QByteArray before = contents(path_);

        breakDisk();
        store.togglePin(store.entries()[2].id()); // big: this save fails
        settle();
        repairDisk();
        std::string report;
        const auto say = [&](const char* name, auto value) {
            report += std::string(name) + "=" + std::to_string(value) + "\n";
        };
        say("failureMessages", failures);
        say("oldFileIntact", contents(path_) == before && !before.isEmpty());
        say("pinnedInMemory", std::count_if(store.entries().begin(), store.entries().end(),
                                            [](const ClipboardEntry& e) { return e.pinned; }));
        say("leftovers", QFileInfo::exists(durableTemporaryPath(path_)));

        store.togglePin(store.entries()[0].id()); // unpin first: this save succeeds
        settle();
        const PinsFile::LoadResult loaded = PinsFile::load(path_);
        say("nextSaveLoads", !loaded.failed);
        say("nextSavePins", loaded.entries.size());
        say("failureMessagesAfter", failures);
        return report;
    }

private:
    QString path_;
    bool shown_ = false;
};

const std::string kExpected = "failureMessages=1\noldFileIntact=1\npinnedInMemory=3\nleftovers=0\n"
                              "nextSaveLoads=1\nnextSavePins=2\nfailureMessagesAfter=1\n";

TEST_F(PinsDurability, AFullDiskKeepsTheOldFileAndThePinsAndSaysSoOnce) {
    const std::string report = inChild([&] {
        FailingSave scenario(path());
        rlimit original{};
        ::getrlimit(RLIMIT_FSIZE, &original);
        std::signal(SIGXFSZ, SIG_IGN); // a write past the limit fails instead of ending the process
        return scenario.run(
            [] {
                rlimit small{64 * 1024, RLIM_INFINITY};
                ::setrlimit(RLIMIT_FSIZE, &small);
            },
            [&] { ::setrlimit(RLIMIT_FSIZE, &original); });
    });
    EXPECT_EQ(report, kExpected);
}

TEST_F(PinsDurability, AFolderThatCannotBeWrittenKeepsTheOldFileAndThePins) {
    // Others may pass through the scratch folder, so a user without rights meets only the lock.
    QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ReadOther);
    const std::string report = inChild([&] {
        FailingSave scenario(path());
        const bool root = ::geteuid() == 0; // root writes anywhere: save as nobody meanwhile
        return scenario.run(
            [&] {
                QFile::setPermissions(folder(), QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther |
                                                    QFile::ExeOther);
                if (root && ::seteuid(65534) != 0) std::abort();
            },
            [&] {
                if (root && ::seteuid(0) != 0) std::abort();
                QFile::setPermissions(folder(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
            });
    });
    EXPECT_EQ(report, kExpected);
}

TEST_F(PinsDurability, AFolderInTheFilesPlaceIsLeftAloneAndTheNextSaveTakesThePlaceBack) {
    const std::string report = inChild([&] {
        FailingSave scenario(path());
        QByteArray saved;
        return scenario.run(
            [&] {
                saved = contents(path());
                QFile::remove(path());
                QDir().mkpath(path());
                QFile inside(path() + "/keep.txt");
                inside.open(QIODevice::WriteOnly);
                inside.write("someone's folder");
                inside.close();
                // The old pins stay readable where the test looks for them.
                QFile old(dir.filePath("old-pins.json"));
                old.open(QIODevice::WriteOnly);
                old.write(saved);
            },
            [&] {
                if (contents(path() + "/keep.txt") != "someone's folder") std::abort();
                QDir(path()).removeRecursively();
                QFile::copy(dir.filePath("old-pins.json"), path());
            });
    });
    EXPECT_EQ(report, kExpected);
}

} // namespace
