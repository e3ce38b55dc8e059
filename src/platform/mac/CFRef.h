#pragma once

#include <CoreFoundation/CoreFoundation.h>

#include <utility>

namespace fenwold {

// Owns one CoreFoundation reference (from a Create or Copy call) and releases it.
template <class T>
class CFRef {
public:
    CFRef() = default;
    explicit CFRef(T ref) : ref_(ref) {}
    CFRef(const CFRef&) = delete;
    CFRef& operator=(const CFRef&) = delete;
    CFRef(CFRef&& o) noexcept : ref_(std::exchange(o.ref_, nullptr)) {}
    CFRef& operator=(CFRef&& o) noexcept {
        if (this != &o) {
            reset();
            ref_ = std::exchange(o.ref_, nullptr);
        }
        return *this;
    }
    ~CFRef() { reset(); }

    T get() const { return ref_; }
    T* out() {
        reset();
        return &ref_;
    }
    explicit operator bool() const { return ref_ != nullptr; }
    void reset() {
        if (ref_) CFRelease(ref_);
        ref_ = nullptr;
    }

private:
    T ref_ = nullptr;
};

} // namespace fenwold
