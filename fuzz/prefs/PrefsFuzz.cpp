// The preferences file, with whatever a user or another program wrote into it: every key reads
// back with its own type, the readers stay in their ranges, and what the program then writes
// reads back as written.
#include "FuzzSupport.h"
#include "core/settings/AltF4Action.h"
#include "core/settings/Prefs.h"
#include "platform/qt/PrefsFile.h"
#include "platform/sim/SimPrefs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace fenwold;

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir{QDir("/dev/shm").exists()
                                 ? QStringLiteral("/dev/shm/fenwold-fuzz-XXXXXX")
                                 : QDir::tempPath() + QStringLiteral("/fenwold-fuzz-XXXXXX")};
    return dir;
}

bool typeFits(PrefKey key, const PrefValue& value) {
    if (std::holds_alternative<std::monostate>(value)) return true;
    switch (declarationOf(key).type) {
    case PrefType::text:
        return std::holds_alternative<QString>(value);
    case PrefType::number:
        return std::holds_alternative<double>(value);
    case PrefType::textList:
        return std::holds_alternative<QStringList>(value);
    case PrefType::boolean:
        break;
    }
    return std::holds_alternative<bool>(value);
}

std::array<PrefValue, kPrefKeyCount> storedValues(const SimPrefs& prefs) {
    std::array<PrefValue, kPrefKeyCount> values;
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        values[i] = prefs.stored(static_cast<PrefKey>(i));
    return values;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 64 * 1024) return -1;
    const QString path = folder().filePath(QStringLiteral("settings.ini"));
    const QString copy = folder().filePath(QStringLiteral("written.ini"));
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
        file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
    }
    QFile::remove(copy);

    SimPrefs memory;
    {
        PrefsFile file(memory, path);
        for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
            const auto key = static_cast<PrefKey>(i);
            FUZZ_CHECK(typeFits(key, memory.read(key)), "key " + std::string(prefKeyName(key)));
        }
        const Prefs prefs(file);
        prefs.registerDefaults();
        const double thumb = prefs.thumbH();
        FUZZ_CHECK(thumb >= Prefs::kMinThumbH && thumb <= Prefs::kMaxThumbH,
                   "thumbH " + std::to_string(thumb));
        (void)readAltF4Action(prefs);
    }

    // Everything read, written by the program to a file of its own, reads back the same.
    const auto values = storedValues(memory);
    {
        SimPrefs scratch;
        PrefsFile written(scratch, copy);
        for (std::size_t i = 0; i < kPrefKeyCount; ++i)
            if (!std::holds_alternative<std::monostate>(values[i]))
                written.write(static_cast<PrefKey>(i), values[i]);
    }
    SimPrefs again;
    PrefsFile reread(again, copy);
    for (std::size_t i = 0; i < kPrefKeyCount; ++i)
        FUZZ_CHECK(again.stored(static_cast<PrefKey>(i)) == values[i],
                   "key " + std::string(prefKeyName(static_cast<PrefKey>(i))) + " did not read back");
    return 0;
}
