#include "SelfChecks.h"

#include "core/clipboard/ClipboardChecks.h"
#include "core/settings/AltF4Action.h"
#include "core/settings/Prefs.h"

namespace fenwold {

std::vector<ModuleCheck> moduleChecks(const SelfCheckContext& context) {
    std::vector<ModuleCheck> checks;
    checks.push_back({"Prefs", [&context](QStringList& f) { return Prefs::selfcheck(*context.scratchPrefs, f); }});
    checks.push_back({"AltF4Action", [](QStringList& f) { return altF4ActionSelfcheck(f); }});
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
