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
    // Least recently shown first; ties keep the entries' order. (An index sort rather than
    // std::stable_sort, whose buffer libstdc++ 12 takes from a deprecated function.)
    std::vector<std::size_t> order(entries.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return entries[a].lastShown != entries[b].lastShown ? entries[a].lastShown < entries[b].lastShown
                                                            : a < b;
    });
    std::vector<uint32_t> out;
    for (const std::size_t i : order) {
        const Entry& e = entries[i];
        if (total <= budget) break;
        out.push_back(e.id);
        total -= e.bytes;
    }
    return out;
}

} // namespace fenwold::StoreMath
