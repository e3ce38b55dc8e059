#include "PrefsFile.h"

#include <QSettings>
#include <QStandardPaths>
#include <cmath>

namespace fenwold {

namespace {

QString nameOf(PrefKey key) {
    const auto n = prefKeyName(key);
    return QString::fromLatin1(n.data(), static_cast<qsizetype>(n.size()));
}

// Settings files keep values as text; recover the stored type from the key's declaration.
PrefValue fromVariant(PrefKey key, const QVariant& v) {
    if (!v.isValid()) return {};
    switch (declarationOf(key).type) {
    case PrefType::text:
        return v.toString();
    case PrefType::textList:
        // A one-element list reads back as plain text.
        return v.toStringList();
    case PrefType::number: {
        bool ok = false;
        const double d = v.toDouble(&ok);
        // "nan" and "inf" parse as numbers, but no size is made of them.
        return ok && std::isfinite(d) ? PrefValue(d) : PrefValue();
    }
    case PrefType::boolean:
        break;
    }
    const QString text = v.toString().toLower();
    if (text == QLatin1String("true") || text == QLatin1String("1")) return true;
    if (text == QLatin1String("false") || text == QLatin1String("0")) return false;
    return {};
}

} // namespace

PrefsFile::PrefsFile(PrefsStore& memory, const QString& path)
    : memory_(memory), file_(std::make_unique<QSettings>(path, QSettings::IniFormat)) {
    for (std::size_t i = 0; i < kPrefKeyCount; ++i) {
        const auto key = static_cast<PrefKey>(i);
        const PrefValue v = fromVariant(key, file_->value(nameOf(key)));
        if (!std::holds_alternative<std::monostate>(v)) memory_.write(key, v);
    }
}

PrefsFile::~PrefsFile() = default;

void PrefsFile::write(PrefKey key, const PrefValue& value) {
    memory_.write(key, value);
    std::visit(
        [&](const auto& v) {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, std::monostate>)
                file_->remove(nameOf(key));
            else
                file_->setValue(nameOf(key), v);
        },
        value);
    file_->sync();
}

QString PrefsFile::defaultPath(const QString& appIdentifier) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           appIdentifier + QLatin1String(".ini");
}

} // namespace fenwold
