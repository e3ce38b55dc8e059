// Hardware remaps and input-source cycling.
#include "core/input/HIDRemap.h"
#include "core/settings/Prefs.h"
#include "platform/sim/SimSession.h"
#include "selfcheck/ModuleChecks.h"

#include <gtest/gtest.h>

using namespace fenwold;

TEST(HIDRemap, SixPairsInOrderAndTheirWireText) {
    const auto all = HIDRemap::mapping(true, true, true);
    const std::vector<HIDRemap::Pair> expected = {{0x7000000E0, 0x7000000E3},  {0x7000000E3, 0x7000000E0},
                                                  {0x7000000E4, 0x7000000E7},  {0x7000000E7, 0x7000000E4},
                                                  {0x700000039, 0xFF00000003}, {0x70000006E, 0xFF00000003}};
    EXPECT_EQ(all, expected);
    EXPECT_EQ(
        HIDRemap::json(all),
        "{\"UserKeyMapping\":["
        "{\"HIDKeyboardModifierMappingSrc\":0x7000000e0,\"HIDKeyboardModifierMappingDst\":0x7000000e3},"
        "{\"HIDKeyboardModifierMappingSrc\":0x7000000e3,\"HIDKeyboardModifierMappingDst\":0x7000000e0},"
        "{\"HIDKeyboardModifierMappingSrc\":0x7000000e4,\"HIDKeyboardModifierMappingDst\":0x7000000e7},"
        "{\"HIDKeyboardModifierMappingSrc\":0x7000000e7,\"HIDKeyboardModifierMappingDst\":0x7000000e4},"
        "{\"HIDKeyboardModifierMappingSrc\":0x700000039,\"HIDKeyboardModifierMappingDst\":0xff00000003},"
        "{\"HIDKeyboardModifierMappingSrc\":0x70000006e,\"HIDKeyboardModifierMappingDst\":0xff00000003}]}");
    EXPECT_EQ(HIDRemap::mapping(false, false, true),
              (std::vector<HIDRemap::Pair>{{0x70000006E, 0xFF00000003}}));
}

TEST(HIDRemap, ApplyLaunchesTheToolAndAllOffUndoes) {
    SimSession sim;
    Prefs prefs(sim.prefs);
    prefs.registerDefaults();
    HIDRemap remap(sim.prefs, sim.processes, sim.log);
    EXPECT_FALSE(remap.isActive());
    prefs.set(PrefKey::capsGlobe, true);
    EXPECT_TRUE(remap.isActive());
    remap.apply();
    prefs.set(PrefKey::capsGlobe, false);
    remap.apply();
    const std::vector<LaunchedTool> expected = {
        {"/usr/bin/hidutil",
         {"property", "--set",
          "{\"UserKeyMapping\":[{\"HIDKeyboardModifierMappingSrc\":0x700000039,"
          "\"HIDKeyboardModifierMappingDst\":0xff00000003}]}"}},
        {"/usr/bin/hidutil", {"property", "--set", "{\"UserKeyMapping\":[]}"}}};
    EXPECT_EQ(sim.processes.launched(), expected);

    sim.processes.setLaunchFails(true);
    remap.apply();
    EXPECT_EQ(sim.log.lines(), QStringList{"Fenwold: hidutil failed — The file “hidutil” doesn’t exist."});
}

TEST(InputSource, CycleWrapsAndSkipsWhatCannotBeSelected) {
    SimInputSources sources;
    // One layout: nothing to cycle.
    InputSource::cycle(sources);
    EXPECT_TRUE(sources.selections().isEmpty());

    sources.setSources({{"us", true, true, true},
                        {"emoji", true, true, false},
                        {"de", false, true, true},
                        {"fr", true, true, true},
                        {"jp", true, true, true}},
                       "jp");
    InputSource::cycle(sources);
    EXPECT_EQ(sources.current(), QString("us")); // the third usable layout wraps to the first
    InputSource::cycle(sources);
    EXPECT_EQ(sources.current(), QString("fr"));

    // A current source that is not among the usable ones: nothing happens.
    sources.setSources({{"us", true, true, true}, {"fr", true, true, true}}, "xx");
    InputSource::cycle(sources);
    EXPECT_EQ(sources.current(), QString("xx"));

    QStringList failures;
    EXPECT_TRUE(hidRemapSelfcheck(failures));
    EXPECT_TRUE(inputSourceSelfcheck(failures)) << failures.join("\n").toStdString();
}
