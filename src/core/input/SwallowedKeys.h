#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

namespace fenwold {

// Key codes whose key-down the tap swallowed and whose key-up is still due, so that no
// application sees a key-up for a key-down it never saw. Only the keys held at one moment are
// here, a handful at most: a flat list with room reserved, so that the tap thread neither
// allocates nor walks a tree for a passing key.
class SwallowedKeys {
public:
    SwallowedKeys() { keys_.reserve(16); }

    void insert(int64_t key) {
        if (!contains(key)) keys_.push_back(key);
    }
    // Removes the code; true when it was there.
    bool remove(int64_t key) {
        const auto it = std::find(keys_.begin(), keys_.end(), key);
        if (it == keys_.end()) return false;
        *it = keys_.back();
        keys_.pop_back();
        return true;
    }
    bool contains(int64_t key) const { return std::find(keys_.begin(), keys_.end(), key) != keys_.end(); }
    void clear() { keys_.clear(); }
    bool empty() const { return keys_.empty(); }

private:
    std::vector<int64_t> keys_;
};

} // namespace fenwold
