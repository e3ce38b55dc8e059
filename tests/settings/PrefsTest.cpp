#include "core/settings/Prefs.h"
#include "core/settings/AltF4Action.h"
#include "platform/qt/PrefsFile.h"
#include "platform/sim/SimPrefs.h"
#include "selfcheck/ModuleChecks.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace fenwold;

namespace {

struct PrefsFixture : ::testing::Test {
    SimPrefs store;
    Prefs prefs{store};
    void SetUp() override { prefs.registerDefaults(); }
};

} // namespace

TEST_F(PrefsFixture, RegistersExactlyTheDeclaredDefaults) {
    // Every switch gets the default its declaration gives it; the other values stay unset.
    for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
        const auto key = static_cast<PrefKey>(i);
        const PrefDeclaration& declared = declarationOf(key);
        const PrefValue value = store.read(key);
        if (declared.registered)
            EXPECT_EQ(value, PrefValue(declared.defaultValue)) << declared.name;
        else
            EXPECT_TRUE(std::holds_alternative<std::monostate>(value)) << declared.name;
    }
    EXPECT_TRUE(prefs.ctrlLetters());
    EXPECT_TRUE(prefs.altTab());
    EXPECT_TRUE(prefs.parsecMouseFix());
    EXPECT_FALSE(prefs.winV());
    EXPECT_FALSE(prefs.f19Globe());
    // Keys read but never registered stay absent.
    EXPECT_TRUE(std::holds_alternative<std::monostate>(store.read(PrefKey::thumbH)));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(store.read(PrefKey::debugLog)));
    EXPECT_TRUE(std::holds_alternative<std::monostate>(store.read(PrefKey::excludedApps)));
    EXPECT_TRUE(prefs.excludedApps().isEmpty());
}

TEST_F(PrefsFixture, MasterSwitchOffSilencesEveryGatedShortcutButNotAltTab) {
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        store.write(static_cast<PrefKey>(i), true);
    prefs.set(PrefKey::shortcutsEnabled, false);
    const std::vector<bool> gated = {prefs.parsecMouseFix(),
                                     prefs.dblClickMax(),
                                     prefs.wheelZoom(),
                                     prefs.altSpace(),
                                     prefs.screenshotKeys(),
                                     prefs.snapKeys(),
                                     prefs.insertClipboard(),
                                     prefs.finderCut(),
                                     prefs.finderF2(),
                                     prefs.finderDelete(),
                                     prefs.finderEnter(),
                                     prefs.homeEnd(),
                                     prefs.winV(),
                                     prefs.winR(),
                                     prefs.winD(),
                                     prefs.winE(),
                                     prefs.winL(),
                                     prefs.winM(),
                                     prefs.winTab(),
                                     prefs.winNum(),
                                     prefs.altF4(),
                                     prefs.ctrlF4(),
                                     prefs.ctrlWord(),
                                     prefs.taskMgr(),
                                     prefs.snapQuadrants(),
                                     prefs.snapAssist(),
                                     prefs.ctrlClipboard(),
                                     prefs.ctrlSelectAll(),
                                     prefs.ctrlZoom(),
                                     prefs.ctrlLetters()};
    for (std::size_t i = 0; i < gated.size(); ++i)
        EXPECT_FALSE(gated[i]) << "accessor " << i;
    EXPECT_TRUE(prefs.altTab());
    EXPECT_TRUE(prefs.swapCtrlCmd());
    EXPECT_TRUE(prefs.f19Globe());

    prefs.set(PrefKey::shortcutsEnabled, true);
    EXPECT_TRUE(prefs.winV());
    EXPECT_TRUE(prefs.snapAssist());
}

TEST_F(PrefsFixture, EverySwitchIsReadAsItsDeclarationSays) {
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        store.write(static_cast<PrefKey>(i), true);
    for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
        const auto key = static_cast<PrefKey>(i);
        if (key == PrefKey::shortcutsEnabled || key == PrefKey::swapCtrlCmd) continue;
        const PrefKind kind = declarationOf(key).kind;
        const std::string name(prefKeyName(key));
        prefs.set(PrefKey::swapCtrlCmd, true);
        EXPECT_EQ(prefs.on(key), kind != PrefKind::ctrlToCmd) << name;
        prefs.set(PrefKey::swapCtrlCmd, false);
        prefs.set(PrefKey::shortcutsEnabled, false);
        EXPECT_EQ(prefs.on(key), kind == PrefKind::setting) << name;
        prefs.set(PrefKey::shortcutsEnabled, true);
        EXPECT_TRUE(prefs.on(key)) << name;
        EXPECT_EQ(Prefs::keyNamed(QString::fromStdString(name)), key);
    }
}

TEST_F(PrefsFixture, SwapRowIsOffWhileTheHardwareSwapIsOn) {
    prefs.set(PrefKey::ctrlClipboard, true);
    EXPECT_TRUE(prefs.swapRow("ctrlClipboard"));
    prefs.set(PrefKey::swapCtrlCmd, true);
    EXPECT_FALSE(prefs.swapRow("ctrlClipboard"));
    EXPECT_FALSE(prefs.ctrlZoom());
    EXPECT_FALSE(prefs.ctrlLetters());
    EXPECT_FALSE(prefs.swapRow("noSuchKey"));
    prefs.set(PrefKey::swapCtrlCmd, false);
    prefs.set(PrefKey::shortcutsEnabled, false);
    EXPECT_FALSE(prefs.swapRow("ctrlClipboard"));
}

TEST_F(PrefsFixture, ExcludedAppsIsAnArrayOfTextAndAnEmptyListRemovesTheKey) {
    prefs.setExcludedApps({"com.example.Guest", "com.example.Remote"});
    EXPECT_EQ(prefs.excludedApps(), (QStringList{"com.example.Guest", "com.example.Remote"}));
    EXPECT_TRUE(std::holds_alternative<QStringList>(store.read(PrefKey::excludedApps)));
    prefs.setExcludedApps({});
    EXPECT_TRUE(std::holds_alternative<std::monostate>(store.read(PrefKey::excludedApps)));
    // A value of another type (written by hand) reads as no exclusions.
    store.write(PrefKey::excludedApps, QString("com.example.Guest"));
    EXPECT_TRUE(prefs.excludedApps().isEmpty());
}

TEST(PrefsFileTest, TheExclusionListSurvivesARestartWithOneOrSeveralApps) {
    QTemporaryDir dir;
    const QString path = dir.filePath("prefs.ini");
    for (const QStringList& ids : {QStringList{"com.example.Guest"}, QStringList{"a.b", "c.d", "e.f"}}) {
        {
            SimPrefs memory;
            PrefsFile file(memory, path);
            Prefs(file).setExcludedApps(ids);
        }
        SimPrefs memory;
        PrefsFile file(memory, path);
        EXPECT_EQ(Prefs(file).excludedApps(), ids);
    }
}

TEST_F(PrefsFixture, StoredValuesSurviveRegisteringDefaults) {
    SimPrefs fresh;
    Prefs p(fresh);
    p.set(PrefKey::altTab, false);
    p.set(PrefKey::winD, true);
    p.registerDefaults();
    EXPECT_FALSE(p.altTab());
    EXPECT_TRUE(p.winD());
}

TEST_F(PrefsFixture, ThumbnailHeightIsClampedAndNonPositiveMeansAbsent) {
    EXPECT_EQ(prefs.thumbH(), 140);
    const std::vector<std::pair<double, double>> cases = {{500, 280}, {50, 90}, {0, 140},  {-3, 140},
                                                          {200, 200}, {90, 90}, {280, 280}};
    for (auto [stored, expected] : cases) {
        prefs.setThumbH(stored);
        EXPECT_EQ(prefs.thumbH(), expected) << "stored " << stored;
    }
    store.write(PrefKey::thumbH, QString("tall"));
    EXPECT_EQ(prefs.thumbH(), 140);
}

TEST(AltF4ActionTest, ReadsKnownWordsAndTreatsEverythingElseAsCloseOrQuit) {
    SimPrefs store;
    Prefs prefs(store);
    EXPECT_EQ(readAltF4Action(prefs), AltF4Action::closeWindowOrQuit);
    for (auto [raw, expected] :
         std::vector<std::pair<QString, AltF4Action>>{{"close", AltF4Action::close},
                                                      {"quit", AltF4Action::quit},
                                                      {"closeWindowOrQuit", AltF4Action::closeWindowOrQuit},
                                                      {"unknown", AltF4Action::closeWindowOrQuit},
                                                      {"QUIT", AltF4Action::closeWindowOrQuit}}) {
        store.write(PrefKey::altF4Action, raw);
        EXPECT_EQ(readAltF4Action(prefs), expected) << raw.toStdString();
    }
    store.write(PrefKey::altF4Action, true); // wrong type
    EXPECT_EQ(readAltF4Action(prefs), AltF4Action::closeWindowOrQuit);

    writeAltF4Action(prefs, AltF4Action::quit);
    EXPECT_EQ(std::get<QString>(store.read(PrefKey::altF4Action)), "quit");
    EXPECT_EQ(rawValue(kAltF4Actions[0]), "closeWindowOrQuit");
    EXPECT_EQ(rawValue(kAltF4Actions[1]), "close");
}

TEST(PrefsSelfcheck, PassesOnAFreshStore) {
    SimPrefs scratch;
    QStringList failures;
    EXPECT_TRUE(prefsSelfcheck(scratch, failures)) << failures.join("\n").toStdString();
}
