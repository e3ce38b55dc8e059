#include "SelfChecks.h"

#include "core/settings/AltF4Action.h"
#include "core/settings/Prefs.h"
#include "core/windows/WindowDiagnostics.h"

namespace fenwold {

std::vector<ModuleCheck> moduleChecks(const SelfCheckContext& context) {
    std::vector<ModuleCheck> checks;
    checks.push_back({"Prefs", [&context](QStringList& f) { return Prefs::selfcheck(*context.scratchPrefs, f); }});
    checks.push_back({"AltF4Action", [](QStringList& f) { return altF4ActionSelfcheck(f); }});
    checks.push_back({"Windows", [](QStringList& f) { return windowsSelfcheck(f); }});
    checks.push_back({"WindowStore", [](QStringList& f) { return windowStoreSelfcheck(f); }});
    checks.push_back({"WindowCapture", [](QStringList& f) { return windowCaptureSelfcheck(f); }});
    return checks;
}

int runModuleChecks(const std::vector<ModuleCheck>& checks, QTextStream& out) {
    int status = 0;
    for (const auto& check : checks) {
        QStringList failures;
        const bool ok = check.run(failures) && failures.isEmpty();
        if (ok) {
            out << check.name << " selfcheck OK\n";
        } else {
            status = 1;
            out << check.name << " selfcheck FAILED\n";
            for (const auto& f : failures) out << "  " << f << '\n';
        }
        out.flush();
    }
    return status;
}

} // namespace fenwold
