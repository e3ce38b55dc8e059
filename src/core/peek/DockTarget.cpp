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

bool DockTarget::selfcheck(QStringList& failures) {
    const auto before = failures.size();
    if (app(501, {10, 0, 64, 64}).key() != "p501") failures << "DockTarget: application key is not p<pid>";
    if (idle({100, 4, 64, 64}).key() != "r100.0" || idle({12.5, 4, 64, 64}).key() != "r12.5")
        failures << "DockTarget: idle key is not r<left edge>";
    if (pidFromKey("p501") != 501 || pidFromKey("r100.0") || pidFromKey("p") || pidFromKey("p12x"))
        failures << "DockTarget: process id not read back from keys";
    WindowInfo a;
    a.id = 7;
    a.title = QStringLiteral("Notes");
    WindowInfo withImage = a;
    withImage.thumb = QImage(4, 4, QImage::Format_ARGB32);
    if (peekListChanged({withImage}, {a})) failures << "DockTarget: a new preview counted as a list change";
    WindowInfo minimized = a;
    minimized.isMinimized = true;
    WindowInfo b = a;
    b.id = 8;
    if (!peekListChanged({minimized}, {a}) || !peekListChanged({a, b}, {b, a}) || !peekListChanged({a}, {}))
        failures << "DockTarget: a changed list was not noticed";
    return failures.size() == before;
}

} // namespace fenwold
