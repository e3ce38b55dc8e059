#include "TileGrid.h"

#include <QStringList>
#include <algorithm>

namespace fenwold {

double Metrics::thumbWidth(const WindowInfo& w) const {
    return std::clamp(w.aspect * thumbH, 0.72 * thumbH, 2.6 * thumbH);
}

void Metrics::setPreferred(double value) {
    if (value > 0) preferredThumbH = std::clamp(value, kMinThumbH, kMaxThumbH);
}

FlowLayout flowRows(const std::vector<WindowInfo>& windows, double maxRowW, const Metrics& metrics) {
    FlowLayout layout;
    layout.rows.emplace_back();
    double x = 0;
    double widest = 0;
    for (std::size_t i = 0; i < windows.size(); ++i) {
        const double t = metrics.tileWidth(windows[i]);
        auto& row = layout.rows.back();
        const double candidate = row.empty() ? x + t : x + Metrics::kTileSpacing + t;
        if (row.empty() || candidate <= maxRowW) {
            row.push_back(static_cast<int>(i));
            x = candidate;
        } else {
            layout.rows.push_back({static_cast<int>(i)});
            x = t;
        }
        widest = std::max(widest, x);
    }
    const auto rows = static_cast<double>(layout.rows.size());
    layout.size = {widest + 2 * Metrics::kPadding,
                   metrics.tileHeight() * rows + Metrics::kTileSpacing * (rows - 1) + 2 * Metrics::kPadding};
    return layout;
}

FlowLayout fitToScreen(const std::vector<WindowInfo>& windows, double maxRowW, double availableHeight,
                       Metrics& metrics) {
    metrics.thumbH = metrics.preferredThumbH;
    FlowLayout layout = flowRows(windows, maxRowW, metrics);
    while (
        (layout.size.width > maxRowW + 2 * Metrics::kPadding || layout.size.height > 0.9 * availableHeight) &&
        metrics.thumbH > Metrics::kMinThumbH) {
        metrics.thumbH = std::max(Metrics::kMinThumbH, metrics.thumbH - 4);
        layout = flowRows(windows, maxRowW, metrics);
    }
    return layout;
}

} // namespace fenwold
