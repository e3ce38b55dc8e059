#pragma once

#include <cstdint>
#include <vector>

namespace fenwold::StoreMath {

// One cached preview as the budget sees it.
struct Entry {
    uint32_t id = 0;
    int64_t bytes = 0;
    double lastShown = 0;
};

// The pixel width to capture a preview at for tiles `thumbH` points high (2x pixels), with the
// window's aspect held between 0.72 and 2.6.
int captureWidth(double thumbH, double aspect);
// The previews to drop, least recently shown first, until the rest fit the budget.
std::vector<uint32_t> evictions(const std::vector<Entry>& entries, int64_t budget);

} // namespace fenwold::StoreMath
