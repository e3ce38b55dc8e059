#pragma once

#include <CoreFoundation/CoreFoundation.h>
#include <utility>

namespace fenwold::mac {

// Owns one CoreFoundation reference and releases it; adopts references from Create/Copy calls.
template <class T>
class CFRef {
public:
    CFRef() = default;
    explicit CFRef(T ref) : ref_(ref) {}
    CFRef(const CFRef& o) : ref_(o.ref_) {
        if (ref_) CFRetain(ref_);
    }
    CFRef(CFRef&& o) noexcept : ref_(std::exchange(o.ref_, nullptr)) {}
    CFRef& operator=(CFRef o) noexcept {
        std::swap(ref_, o.ref_);
        return *this;
    }
    ~CFRef() {
        if (ref_) CFRelease(ref_);
    }

    T get() const { return ref_; }
    explicit operator bool() const { return ref_ != nullptr; }

private:
    T ref_ = nullptr;
};

} // namespace fenwold::mac
