#include "StoreMath.h"

#include <algorithm>
#include <cmath>

namespace fenwold::StoreMath {

int captureWidth(double thumbH, double aspect) {
    const double a = std::isfinite(aspect) ? aspect : 4.0 / 3.0;
    const double w = std::clamp(thumbH * a, thumbH * 0.72, thumbH * 2.6);
    return static_cast<int>(std::round(w * 2));
}

std::vector<uint32_t> evictions(const std::vector<Entry>& entries, int64_t budget) {
    int64_t total = 0;
    for (const auto& e : entries)
        total += e.bytes;
    if (total <= budget) return {};
    std::vector<Entry> sorted = entries;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const Entry& a, const Entry& b) { return a.lastShown < b.lastShown; });
    std::vector<uint32_t> out;
    for (const auto& e : sorted) {
        if (total <= budget) break;
        out.push_back(e.id);
        total -= e.bytes;
    }
    return out;
}

} // namespace fenwold::StoreMath
