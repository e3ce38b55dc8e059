// The built-in update feed reader on any feed: versions compare consistently, and the update it
// offers is one the feed lists, newer than the running build and allowed on this system.
#include "FuzzSupport.h"
#include "core/shell/Appcast.h"

using namespace fenwold;
using fenwold::fuzz::quoted;

namespace {

int sign(int v) {
    return (v > 0) - (v < 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 256 * 1024) return -1;
    const auto parsed = parseAppcast(fuzz::bytesOf(data, size));
    if (const auto* error = std::get_if<QString>(&parsed)) {
        FUZZ_CHECK(!error->isEmpty(), "an unreadable feed without a reason");
        return 0;
    }
    const auto& items = std::get<std::vector<AppcastItem>>(parsed);
    for (const auto& item : items)
        FUZZ_CHECK(!item.version.isEmpty() && !item.displayVersion.isEmpty(), "an item without a version");

    // Comparison is an order: reflexive, antisymmetric and transitive over the feed's versions.
    const std::size_t n = std::min<std::size_t>(items.size(), 12);
    for (std::size_t i = 0; i < n; ++i) {
        const QString& a = items[i].version;
        FUZZ_CHECK(compareVersions(a, a) == 0, "a version differs from itself: " + quoted(a));
        for (std::size_t j = 0; j < n; ++j) {
            const QString& b = items[j].version;
            const int ab = sign(compareVersions(a, b));
            FUZZ_CHECK(ab == -sign(compareVersions(b, a)),
                       "not antisymmetric: " + quoted(a) + " " + quoted(b));
            for (std::size_t k = 0; k < n; ++k) {
                const QString& c = items[k].version;
                if (ab < 0 && compareVersions(b, c) < 0)
                    FUZZ_CHECK(compareVersions(a, c) < 0,
                               "not transitive: " + quoted(a) + " " + quoted(b) + " " + quoted(c));
            }
        }
    }

    for (const QString& running : {QStringLiteral("1"), QStringLiteral("2.0"), QStringLiteral("0")}) {
        const QString system = QStringLiteral("14.5");
        const auto best = bestUpdate(items, running, system);
        if (!best) {
            for (const auto& item : items)
                FUZZ_CHECK(compareVersions(item.version, running) <= 0 ||
                               (item.minimumSystemVersion &&
                                compareVersions(*item.minimumSystemVersion, system) > 0),
                           "an allowed newer item was not offered: " + quoted(item.version));
            continue;
        }
        FUZZ_CHECK(std::find_if(items.begin(), items.end(),
                                [&](const AppcastItem& i) { return i.version == best->version; }) !=
                       items.end(),
                   "offered a version the feed does not list: " + quoted(best->version));
        FUZZ_CHECK(compareVersions(best->version, running) > 0, "offered an update that is not newer");
        FUZZ_CHECK(!best->minimumSystemVersion || compareVersions(*best->minimumSystemVersion, system) <= 0,
                   "offered an update this system cannot run");
        for (const auto& item : items)
            if (!item.minimumSystemVersion || compareVersions(*item.minimumSystemVersion, system) <= 0)
                FUZZ_CHECK(compareVersions(item.version, best->version) <= 0,
                           "a newer allowed item was passed over: " + quoted(item.version));
    }
    return 0;
}
