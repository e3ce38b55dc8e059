#include "PropertyList.h"

#include "CFRef.h"

#include <QDateTime>

namespace fenwold {

QVariant toVariant(CFPropertyListRef value) {
    if (!value)
        return {};
    const CFTypeID type = CFGetTypeID(value);
    if (type == CFBooleanGetTypeID())
        return QVariant(CFBooleanGetValue(static_cast<CFBooleanRef>(value)) != 0);
    if (type == CFNumberGetTypeID()) {
        double d = 0;
        CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberDoubleType, &d);
        return QVariant(d);
    }
    if (type == CFStringGetTypeID())
        return QVariant(QString::fromCFString(static_cast<CFStringRef>(value)));
    if (type == CFDataGetTypeID())
        return QVariant(QByteArray::fromCFData(static_cast<CFDataRef>(value)));
    if (type == CFDateGetTypeID())
        return QVariant(QDateTime::fromCFDate(static_cast<CFDateRef>(value)));
    if (type == CFArrayGetTypeID()) {
        const auto array = static_cast<CFArrayRef>(value);
        QVariantList list;
        for (CFIndex i = 0; i < CFArrayGetCount(array); ++i)
            list << toVariant(CFArrayGetValueAtIndex(array, i));
        return list;
    }
    if (type == CFDictionaryGetTypeID()) {
        const auto dict = static_cast<CFDictionaryRef>(value);
        const CFIndex count = CFDictionaryGetCount(dict);
        std::vector<const void*> keys(static_cast<size_t>(count)), values(static_cast<size_t>(count));
        CFDictionaryGetKeysAndValues(dict, keys.data(), values.data());
        QVariantMap map;
        for (CFIndex i = 0; i < count; ++i) {
            const QVariant key = toVariant(keys[static_cast<size_t>(i)]);
            map.insert(key.toString(), toVariant(values[static_cast<size_t>(i)]));
        }
        return map;
    }
    return {};
}

namespace {

CFArrayRef createStringArray(const QStringList& texts) {
    CFMutableArrayRef array = CFArrayCreateMutable(nullptr, texts.size(), &kCFTypeArrayCallBacks);
    for (const QString& text : texts) {
        CFRef<CFStringRef> item(text.toCFString());
        CFArrayAppendValue(array, item.get());
    }
    return array;
}

} // namespace

PrefValue toPrefValue(CFPropertyListRef value) {
    const QVariant v = toVariant(value);
    switch (v.typeId()) {
    case QMetaType::Bool:
        return v.toBool();
    case QMetaType::Double:
        return v.toDouble();
    case QMetaType::QString:
        return v.toString();
    case QMetaType::QVariantList: {
        // An array of text, as `defaults write <domain> key -array a b` stores it.
        QStringList texts;
        for (const QVariant& item : v.toList())
            if (item.typeId() == QMetaType::QString)
                texts << item.toString();
        return texts;
    }
    default:
        return {};
    }
}

CFPropertyListRef createPropertyList(const PrefValue& value) {
    return std::visit(
        [](const auto& v) -> CFPropertyListRef {
            using T = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<T, bool>)
                return CFRetain(v ? kCFBooleanTrue : kCFBooleanFalse);
            else if constexpr (std::is_same_v<T, double>)
                return CFNumberCreate(nullptr, kCFNumberDoubleType, &v);
            else if constexpr (std::is_same_v<T, QString>)
                return v.toCFString();
            else if constexpr (std::is_same_v<T, QStringList>)
                return createStringArray(v);
            else
                return nullptr;
        },
        value);
}

CFPropertyListRef createPropertyList(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool:
        return createPropertyList(PrefValue(value.toBool()));
    case QMetaType::QString:
        return createPropertyList(PrefValue(value.toString()));
    case QMetaType::Int:
    case QMetaType::LongLong: {
        const long long n = value.toLongLong();
        return CFNumberCreate(nullptr, kCFNumberLongLongType, &n);
    }
    case QMetaType::Double:
        return createPropertyList(PrefValue(value.toDouble()));
    default:
        return nullptr;
    }
}

} // namespace fenwold
