#include "DockTarget.h"

#include <QLocale>

namespace fenwold {

namespace {

// Decimal text of a coordinate, always with a fractional part ("100.0", "12.5").
QString decimal(double value) {
    QString text = QString::number(value, 'g', QLocale::FloatingPointShortest);
    if (!text.contains('.') && !text.contains('e') && !text.contains("inf") && !text.contains("nan"))
        text += QStringLiteral(".0");
    return text;
}

QString identity(const WindowInfo& w) {
    const QChar nul(0);
    return QString::number(w.id) + nul + w.title + nul + (w.isMinimized ? "true" : "false") + nul +
           (w.isHidden ? "true" : "false");
}

} // namespace

QString DockTarget::key() const {
    return kind == Kind::app ? QStringLiteral("p") + QString::number(pid)
                             : QStringLiteral("r") + decimal(rect.minX());
}

std::optional<int32_t> pidFromKey(const QString& key) {
    if (!key.startsWith('p')) return std::nullopt;
    bool ok = false;
    const int value = key.mid(1).toInt(&ok, 10);
    if (!ok) return std::nullopt;
    return static_cast<int32_t>(value);
}

bool peekListChanged(const std::vector<WindowInfo>& now, const std::vector<WindowInfo>& before) {
    if (now.size() != before.size()) return true;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (identity(now[i]) != identity(before[i])) return true;
    }
    return false;
}

} // namespace fenwold
