// The debug trace file: its lines, and that it is safe to keep in a shared folder.
#include "InputRig.h"
#include "support/DispatchParts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

using namespace fenwold;
using namespace fenwold::testing;

namespace {

QStringList readLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split('\n', Qt::SkipEmptyParts);
}

} // namespace

TEST(Trace, OffUnlessOnAtFirstUse) {
    QTemporaryDir dir;
    SimSession sim;
    Prefs(sim.prefs).registerDefaults();
    const QString path = dir.filePath("events.txt");
    Trace trace(sim.prefs, sim.mainQueue, sim.clock, path);
    EXPECT_FALSE(trace.on());
    Prefs(sim.prefs).set(PrefKey::debugLog, true); // too late for this run
    trace.write("hello");
    EXPECT_FALSE(trace.on());
    EXPECT_FALSE(QFile::exists(path));
}

TEST(Trace, LinesAndAppendingRuns) {
    QTemporaryDir dir;
    const QString path = dir.filePath("events.txt");
    for (int run = 0; run < 2; ++run) {
        SimSession sim;
        Prefs(sim.prefs).set(PrefKey::debugLog, true);
        sim.clock.set(0); // 2001-01-01 00:00:00
        Trace trace(sim.prefs, sim.mainQueue, sim.clock, path);
        trace.mark("TAP DISABLED type=4294967294");
    }
    const QStringList lines = readLines(path);
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "--- start 2001-01-01 00:00:00 +0000 uptime=1000");
    EXPECT_EQ(lines[1], "t=1000.000 *** TAP DISABLED type=4294967294");
    EXPECT_EQ(lines[2], lines[0]);
}

TEST(Trace, EventLinesOfTheDispatch) {
    QTemporaryDir dir;
    const QString path = dir.filePath("events.txt");
    InputRig rig;
    rig.set(PrefKey::debugLog, true);
    rig.set(PrefKey::f19Globe, true);
    Trace trace(rig.sim.prefs, rig.sim.mainQueue, rig.sim.clock, path);
    TapDispatcher::Parts parts = dispatchPartsOf(rig.sim, rig.routing);
    parts.inject = &rig.inject;
    parts.trace = &trace;
    TapDispatcher c(parts);

    TapEvent shiftA;
    shiftA.type = eventtype::keyDown;
    shiftA.flags = flag::shift | 0x100; // a device-dependent bit rides along
    c.tapCallback(shiftA);

    rig.sim.eventTap.setModifierState(ModifierState::hardware, flag::option);
    rig.sim.eventTap.setModifierState(ModifierState::combinedSession, flag::option | flag::command);
    TapEvent all;
    all.type = eventtype::flagsChanged;
    all.flags = flag::shift | flag::control | flag::option | flag::command;
    c.tapCallback(all);

    TapEvent scroll;
    scroll.type = eventtype::scrollWheel;
    scroll.scrollDelta = -2;
    scroll.scrollDelta2 = 1;
    scroll.scrollPointDelta1 = -14;
    scroll.scrollContinuous = 1;
    c.tapCallback(scroll);

    TapEvent system;
    system.type = eventtype::systemDefined;
    system.systemSubtype = 8;
    system.systemData1 = 0x100a00;
    EXPECT_EQ(c.tapCallback(system), TapAnswer::pass);

    TapEvent f19;
    f19.type = eventtype::keyDown;
    f19.keyCode = kF19;
    c.tapCallback(f19);
    f19.type = eventtype::keyUp;
    c.tapCallback(f19);
    // Held with another key: the key is stamped with the Globe flag, and the release cycles nothing.
    f19.type = eventtype::keyDown;
    c.tapCallback(f19);
    TapEvent a;
    a.type = eventtype::keyDown;
    c.tapCallback(a);

    const QStringList lines = readLines(path);
    ASSERT_EQ(lines.size(), 12);
    EXPECT_EQ(lines[1], "t=1000.000 type=10 key=0 flags=S/0x20100 srcPid=0");
    EXPECT_EQ(lines[2], "t=1000.000 type=12 key=0 flags=SCAM/0x1e0000 srcPid=0 hid=A session=AM");
    EXPECT_EQ(lines[3], "=== UNSTICK GESTURE ===");
    EXPECT_EQ(lines[4], "t=1000.000 type=22 key=0 flags=-/0x0 srcPid=0 d1=-2 d2=1 p1=-14 cont=1");
    EXPECT_EQ(lines[5], "t=1000.000 type=14 key=0 flags=-/0x0 srcPid=0 subtype=8 data1=0x100a00");
    EXPECT_EQ(lines[8], "t=1000.000 F19-BARE-TAP → cycle");
    EXPECT_EQ(lines[10], "t=1000.000 type=10 key=0 flags=-/0x0 srcPid=0");
    EXPECT_EQ(lines[11], "t=1000 F19-STAMP key=0 out=0x800000");
}

TEST(Trace, FileIsPrivateAndNeverFollowsALink) {
    QTemporaryDir dir;
    SimSession sim;
    Prefs(sim.prefs).set(PrefKey::debugLog, true);

    // Created for its owner only.
    const QString path = dir.filePath("events.txt");
    {
        Trace trace(sim.prefs, sim.mainQueue, sim.clock, path);
        trace.write("typed");
        EXPECT_TRUE(trace.isOpen());
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // An existing file readable by everyone is narrowed before anything is written.
    const QString wide = dir.filePath("wide.txt");
    QFile(wide).open(QIODevice::WriteOnly);
    ::chmod(QFile::encodeName(wide).constData(), 0644);
    {
        Trace trace(sim.prefs, sim.mainQueue, sim.clock, wide);
        trace.write("typed");
    }
    ::stat(QFile::encodeName(wide).constData(), &st);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // A symbolic link planted at the path is refused, and its target stays untouched.
    const QString target = dir.filePath("target.txt");
    QFile(target).open(QIODevice::WriteOnly);
    const QString link = dir.filePath("link.txt");
    ASSERT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(link).constData()), 0);
    {
        Trace trace(sim.prefs, sim.mainQueue, sim.clock, link);
        trace.write("typed");
        EXPECT_FALSE(trace.isOpen());
    }
    EXPECT_EQ(QFileInfo(target).size(), 0);
}

TEST(Trace, SomeoneElsesFileIsRefused) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs to create a file owned by another user";
    QTemporaryDir dir;
    SimSession sim;
    Prefs(sim.prefs).set(PrefKey::debugLog, true);
    const QString path = dir.filePath("events.txt");
    QFile(path).open(QIODevice::WriteOnly);
    ASSERT_EQ(::chown(QFile::encodeName(path).constData(), 65534, 65534), 0);
    Trace trace(sim.prefs, sim.mainQueue, sim.clock, path);
    trace.write("typed");
    EXPECT_FALSE(trace.isOpen());
    EXPECT_EQ(QFileInfo(path).size(), 0);
}
