// The playground keeps what the simulated user turned on between runs; "--fresh" and scripts do
// not see it.
#include "app/Playground.h"
#include "core/settings/Prefs.h"
#include "platform/sim/SimSession.h"
#include "support/Snapshots.h"
#include "ui/playground/PlaygroundSession.h"
#include "ui/shell/WelcomeWindow.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

const QStringList kRun = {"fenwold", "--playground"};

bool stored(const PrefsStore& store, PrefKey key) {
    const PrefValue v = store.read(key);
    return std::holds_alternative<bool>(v) && std::get<bool>(v);
}

} // namespace

TEST(PlaygroundPrefs, ARunKeepsItsSettingsForTheNextAndFreshForgetsThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath("org.fenwold.Fenwold.ini");
    {
        SimPrefs memory;
        const PlaygroundPrefs first = playgroundPrefs(kRun, memory, path);
        EXPECT_EQ(first.starting, StartingSettings::firstRun);
        ASSERT_TRUE(first.file);
        first.file->write(PrefKey::winD, true);
        first.file->write(PrefKey::excludedApps, QStringList{"com.example.Guest"});
    }
    EXPECT_TRUE(QFileInfo::exists(path));
    {
        SimPrefs memory;
        const PlaygroundPrefs second = playgroundPrefs(kRun, memory, path);
        EXPECT_EQ(second.starting, StartingSettings::kept);
        EXPECT_TRUE(stored(memory, PrefKey::winD));
        EXPECT_EQ(Prefs(memory).excludedApps(), QStringList{"com.example.Guest"});
    }
    SimPrefs memory;
    const PlaygroundPrefs fresh = playgroundPrefs({"fenwold", "--fresh"}, memory, path);
    EXPECT_EQ(fresh.starting, StartingSettings::firstRun);
    EXPECT_FALSE(stored(memory, PrefKey::winD));

    SimPrefs scripted;
    const PlaygroundPrefs script = playgroundPrefs({"fenwold", "--script", "tour.play"}, scripted, path);
    EXPECT_FALSE(script.file);
    EXPECT_EQ(script.starting, StartingSettings::demonstration);
}

TEST(PlaygroundPrefs, TheFirstRunShowsTheWelcomeAndALaterOneStartsFromWhatWasKept) {
    QTemporaryDir dir;
    const QString path = dir.filePath("playground.ini");
    {
        SimSession sim;
        SimPrefs& memory = sim.prefs;
        PlaygroundPrefs prefs = playgroundPrefs(kRun, memory, path);
        Platform platform = sim.platform();
        platform.prefs = prefs.file.get();
        PlaygroundSession pg(sim, platform, StartupOptions{}, true, prefs.starting);
        pg.start();
        pg.desktop().show();
        WelcomeWindow* welcome = pg.views().welcomeWindow();
        ASSERT_NE(welcome, nullptr);
        EXPECT_TRUE(welcome->isVisible());
        // The documentation's picture of a first run, when FENWOLD_SNAPSHOT_DIR names a folder.
        if (const QString shots = fenwold::testing::snapshotFolder(); !shots.isEmpty())
            pg.desktop().snapshot().save(QDir(shots).filePath("playground-welcome.png"));
        EXPECT_TRUE(Prefs(memory).winV());
        welcome->winKeys()->click(); // every Win-key row on
        Prefs(*platform.prefs).set(PrefKey::winV, false);
        // Its frame's close box in the simulated screen closes it as a Mac window's would.
        welcome->parentWidget()->hide();
        EXPECT_FALSE(pg.delegate().welcome().isOpen());
    }
    SimSession sim;
    PlaygroundPrefs prefs = playgroundPrefs(kRun, sim.prefs, path);
    Platform platform = sim.platform();
    platform.prefs = prefs.file.get();
    PlaygroundSession pg(sim, platform, StartupOptions{}, true, prefs.starting);
    pg.start();
    EXPECT_EQ(pg.views().welcomeWindow(), nullptr); // seen already
    const Prefs kept(sim.prefs);
    EXPECT_TRUE(kept.winD());
    EXPECT_FALSE(kept.winV()); // turned off last time: not turned on again
    EXPECT_TRUE(kept.macHints());
}
