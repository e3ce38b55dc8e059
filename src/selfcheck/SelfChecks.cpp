#include "SelfChecks.h"

#include "ClipboardChecks.h"
#include "ModuleChecks.h"
#include "WindowChecks.h"

namespace fenwold {

std::vector<ModuleCheck> moduleChecks(const SelfCheckContext& context) {
    std::vector<ModuleCheck> checks;
    checks.push_back(
        {"Prefs", [prefs = context.scratchPrefs](QStringList& f) { return prefsSelfcheck(*prefs, f); }});
    checks.push_back({"AltF4Action", [](QStringList& f) { return altF4ActionSelfcheck(f); }});
    checks.push_back({"HIDRemap", [](QStringList& f) { return hidRemapSelfcheck(f); }});
    checks.push_back({"InputSource", [](QStringList& f) { return inputSourceSelfcheck(f); }});
    checks.push_back({"InputRoutingState", [](QStringList& f) { return inputRoutingStateSelfcheck(f); }});
    checks.push_back({"SwallowedKeys", [](QStringList& f) { return swallowedKeysSelfcheck(f); }});
    checks.push_back(
        {"SwitcherKeyForwarder", [](QStringList& f) { return switcherKeyForwarderSelfcheck(f); }});
    checks.push_back({"FinderKeys", [](QStringList& f) { return finderKeysSelfcheck(f); }});
    checks.push_back({"Windows", [](QStringList& f) { return windowsSelfcheck(f); }});
    checks.push_back({"MacHints", [](QStringList& f) { return hintsSelfcheck(f); }});
    checks.push_back({"WindowStore", [](QStringList& f) { return windowStoreSelfcheck(f); }});
    checks.push_back({"WindowCapture", [](QStringList& f) { return windowCaptureSelfcheck(f); }});
    checks.push_back({"DockTarget", [](QStringList& f) { return dockTargetSelfcheck(f); }});
    checks.push_back({"Metrics", [](QStringList& f) { return metricsSelfcheck(f); }});
    checks.push_back(clipboardCheck());
    return checks;
}

ModuleCheck clipboardCheck() {
    return {"Clipboard", [](QStringList& f) { return clipboardSelfcheck(f); }, clipboardSelfcheckSummary};
}

int runModuleChecks(const std::vector<ModuleCheck>& checks, QTextStream& out) {
    int status = 0;
    for (const auto& check : checks) {
        QStringList failures;
        const bool ok = check.run(failures) && failures.isEmpty();
        if (ok) {
            out << check.name << " selfcheck OK" << check.summary << '\n';
        } else {
            status = 1;
            out << check.name << " selfcheck FAILED\n";
            for (const auto& f : failures)
                out << "  " << f << '\n';
        }
        out.flush();
    }
    return status;
}

} // namespace fenwold
