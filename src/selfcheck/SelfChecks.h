#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <functional>
#include <vector>

namespace fenwold {

class PrefsStore;

// Scratch collaborators the module checks may use; never the user's real stores.
struct SelfCheckContext {
    PrefsStore* scratchPrefs = nullptr;
};

// One module check: its name as printed before " selfcheck OK", and the check, which appends
// a line per failure and returns true when everything held.
struct ModuleCheck {
    QString name;
    std::function<bool(QStringList& failures)> run;
    QString summary = {}; // printed after " selfcheck OK" when the check passes
};

// The clipboard's check, printed last by "--selfcheck" and alone by "--clipboard-selfcheck".
ModuleCheck clipboardCheck();

// The module checks of "--selfcheck", in their printed order.
std::vector<ModuleCheck> moduleChecks(const SelfCheckContext& context);

// Runs checks in order, printing "<name> selfcheck OK" or the failures of each; returns the
// exit status (0 when all passed, 1 otherwise).
int runModuleChecks(const std::vector<ModuleCheck>& checks, QTextStream& out);

} // namespace fenwold
