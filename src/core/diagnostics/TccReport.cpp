#include "TccReport.h"

#include "ports/Accessibility.h"
#include "ports/WindowServer.h"

namespace fenwold {

QStringList tccReport(const Accessibility& accessibility, const WindowServer& windowServer) {
    auto word = [](bool b) { return b ? QStringLiteral("true") : QStringLiteral("false"); };
    return {QStringLiteral("accessibility:    ") + word(accessibility.isTrusted()),
            QStringLiteral("screenRecording:  ") + word(windowServer.preflightScreenCapture())};
}

} // namespace fenwold
