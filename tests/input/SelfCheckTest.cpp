#include "platform/sim/SimPrefs.h"
#include "selfcheck/SelfChecks.h"

#include <gtest/gtest.h>

using namespace fenwold;

TEST(InputSelfChecks, PrintInTheirOrderAndPass) {
    SimPrefs scratch;
    const SelfCheckContext context{&scratch}; // the checks refer to it while they run
    const auto checks = moduleChecks(context);
    QStringList names;
    for (const auto& c : checks)
        names << c.name;
    const QStringList ours = {"HIDRemap",      "InputSource",          "InputRoutingState",
                              "SwallowedKeys", "SwitcherKeyForwarder", "FinderKeys"};
    const auto at = names.indexOf("HIDRemap");
    ASSERT_GT(at, names.indexOf("AltF4Action"));
    EXPECT_EQ(names.mid(at, ours.size()), ours);
    EXPECT_GT(names.indexOf("MacHints"), names.indexOf("FinderKeys"));

    QString text;
    QTextStream out(&text);
    EXPECT_EQ(runModuleChecks(checks, out), 0) << text.toStdString();
    EXPECT_TRUE(text.contains("SwitcherKeyForwarder selfcheck OK\nFinderKeys selfcheck OK\n"));
}
