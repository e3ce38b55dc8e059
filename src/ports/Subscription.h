#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <utility>
#include <vector>

namespace fenwold {

// Keeps a registration (a notification observer, an event monitor) alive; ending it
// unregisters. Moving transfers the registration.
class Subscription {
public:
    Subscription() = default;
    explicit Subscription(std::function<void()> cancel) : cancel_(std::move(cancel)) {}
    Subscription(Subscription&& o) noexcept : cancel_(std::exchange(o.cancel_, nullptr)) {}
    Subscription& operator=(Subscription&& o) noexcept {
        if (this != &o) {
            reset();
            cancel_ = std::exchange(o.cancel_, nullptr);
        }
        return *this;
    }
    Subscription(const Subscription&) = delete;
    Subscription& operator=(const Subscription&) = delete;
    ~Subscription() { reset(); }

    void reset() {
        if (auto c = std::exchange(cancel_, nullptr)) c();
    }
    bool active() const { return static_cast<bool>(cancel_); }

private:
    std::function<void()> cancel_;
};

// The observers of one object. Each registration is a subscription that ends itself, and stays
// safe to end after the list is gone. Observers may register or end others while being told.
class ObserverList {
public:
    Subscription add(std::function<void()> handler) {
        const uint64_t key = next_++;
        observers_->emplace(key, std::move(handler));
        return Subscription([key, weak = std::weak_ptr<Map>(observers_)] {
            if (auto observers = weak.lock()) observers->erase(key);
        });
    }
    void notify() const {
        std::vector<std::function<void()>> handlers;
        for (const auto& [key, handler] : *observers_)
            handlers.push_back(handler);
        for (const auto& handler : handlers)
            handler();
    }

private:
    using Map = std::map<uint64_t, std::function<void()>>;
    std::shared_ptr<Map> observers_ = std::make_shared<Map>();
    uint64_t next_ = 1;
};

} // namespace fenwold
