#pragma once

#include <QStringList>
#include <cstdint>
#include <set>

namespace fenwold {

// Key codes whose key-down the tap swallowed and whose key-up is still due, so that no
// application sees a key-up for a key-down it never saw.
struct SwallowedKeys {
    std::set<int64_t> keys;

    void insert(int64_t key) { keys.insert(key); }
    // Removes the code; true when it was there.
    bool remove(int64_t key) { return keys.erase(key) > 0; }
    bool contains(int64_t key) const { return keys.count(key) > 0; }
    void clear() { keys.clear(); }
    bool empty() const { return keys.empty(); }
};

} // namespace fenwold
