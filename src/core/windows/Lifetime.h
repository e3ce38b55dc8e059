#pragma once

#include <functional>
#include <memory>
#include <utility>

namespace fenwold {

// Lets delayed work and callbacks hold their owner weakly: work wrapped by `guard` does nothing
// once the owner (and with it this token) is gone.
class Lifetime {
public:
    template <class F>
    auto guard(F work) const {
        return [alive = std::weak_ptr<int>(token_), work = std::move(work)](auto&&... args) mutable {
            if (alive.lock()) work(std::forward<decltype(args)>(args)...);
        };
    }

private:
    std::shared_ptr<int> token_ = std::make_shared<int>(0);
};

} // namespace fenwold
