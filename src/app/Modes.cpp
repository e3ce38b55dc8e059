#include "Modes.h"

#include "core/diagnostics/SelfChecks.h"
#include "core/diagnostics/TccReport.h"
#include "core/settings/AltF4Action.h"
#include "platform/sim/SimPrefs.h"
#include "ports/Platform.h"

namespace fenwold {

namespace {

int runChecks(const std::vector<ModuleCheck>& checks, QTextStream& out) { return runModuleChecks(checks, out); }

} // namespace

std::optional<int> runDiagnosticMode(const CommandLineMode& mode, Platform& platform, QTextStream& out) {
    using Kind = CommandLineMode::Kind;
    switch (mode.kind) {
    case Kind::tcc:
        for (const auto& line : tccReport(*platform.accessibility, *platform.windowServer)) out << line << '\n';
        out.flush();
        return 0;
    case Kind::altF4Selfcheck:
        return runChecks({{"AltF4Action", [](QStringList& f) { return altF4ActionSelfcheck(f); }}}, out);
    case Kind::clipboardSelfcheck:
        return runChecks({clipboardCheck()}, out);
    case Kind::selfcheck: {
        // Module checks work on scratch stores, never the user's preferences.
        SimPrefs scratch;
        return runChecks(moduleChecks(SelfCheckContext{&scratch}), out);
    }
    default:
        // Modes whose subsystems this build does not have yet fall through to the normal start.
        return std::nullopt;
    }
}

} // namespace fenwold
