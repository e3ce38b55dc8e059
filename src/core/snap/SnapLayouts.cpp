#include "SnapLayouts.h"

namespace fenwold {

const std::vector<SnapLayout>& snapLayouts() {
    using enum WindowSnap;
    static const std::vector<SnapLayout> layouts = {
        {{left, right}},
        {{leftThird, centreThird, rightThird}},
        {{leftTwoThirds, rightThird}},
        {{topLeft, topRight, bottomLeft, bottomRight}},
    };
    return layouts;
}

} // namespace fenwold
