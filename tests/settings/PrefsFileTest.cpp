// The settings file that keeps preferences where there are no user defaults: what a person or
// another program wrote there reads as the value its key holds, or as nothing.
#include "platform/qt/PrefsFile.h"
#include "platform/sim/SimPrefs.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

PrefValue readBack(const QByteArray& file, PrefKey key) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    QFile out(path);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly));
    out.write(file);
    out.close();
    SimPrefs memory;
    PrefsFile prefs(memory, path);
    return memory.stored(key);
}

} // namespace

TEST(PrefsFile, ValuesReadAsTheTypeTheirKeyHoldsOrNotAtAll) {
    EXPECT_EQ(readBack("[General]\nwinV=true\n", PrefKey::winV), PrefValue(true));
    EXPECT_EQ(readBack("[General]\nwinV=0\n", PrefKey::winV), PrefValue(false));
    EXPECT_EQ(readBack("[General]\nwinV=yes\n", PrefKey::winV), PrefValue());
    EXPECT_EQ(readBack("[General]\nthumbH=200\n", PrefKey::thumbH), PrefValue(200.0));
    EXPECT_EQ(readBack("[General]\naltF4Action=quit\n", PrefKey::altF4Action), PrefValue(QString("quit")));
    // Numbers that are no size at all are left out rather than kept.
    for (const char* odd : {"nan", "inf", "-inf", "1e999"})
        EXPECT_EQ(readBack(QByteArray("[General]\nthumbH=") + odd + "\n", PrefKey::thumbH), PrefValue())
            << odd;
}

TEST(PrefsFile, WhatTheProgramWritesReadsBackAfterARestart) {
    QTemporaryDir dir;
    const QString path = dir.filePath("settings.ini");
    {
        SimPrefs memory;
        PrefsFile prefs(memory, path);
        prefs.write(PrefKey::thumbH, 172.5);
        prefs.write(PrefKey::macHints, true);
        prefs.write(PrefKey::altF4Action, QString("close"));
        prefs.write(PrefKey::winV, false);
        prefs.write(PrefKey::winV, PrefValue()); // removed again
    }
    SimPrefs memory;
    PrefsFile prefs(memory, path);
    EXPECT_EQ(memory.stored(PrefKey::thumbH), PrefValue(172.5));
    EXPECT_EQ(memory.stored(PrefKey::macHints), PrefValue(true));
    EXPECT_EQ(memory.stored(PrefKey::altF4Action), PrefValue(QString("close")));
    EXPECT_EQ(memory.stored(PrefKey::winV), PrefValue());
}
