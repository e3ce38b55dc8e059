#include "SwallowedKeys.h"

namespace fenwold {

bool SwallowedKeys::selfcheck(QStringList& failures) {
    const auto before = failures.size();
    SwallowedKeys s;
    s.insert(8);
    s.insert(8);
    if (!s.remove(8) || s.remove(8)) failures << "SwallowedKeys: a code was not removed exactly once";
    s.insert(9);
    s.clear();
    if (!s.empty()) failures << "SwallowedKeys: clear left codes behind";
    return failures.size() == before;
}

} // namespace fenwold
