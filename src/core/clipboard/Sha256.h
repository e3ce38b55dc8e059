#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace fenwold {

// Incremental SHA-256 over the platform's accelerated implementation (OpenSSL on Linux,
// CommonCrypto on macOS; CMake picks the source file).
class Sha256 {
public:
    using Digest = std::array<uint8_t, 32>;

    Sha256();
    ~Sha256();
    Sha256(const Sha256&) = delete;
    Sha256& operator=(const Sha256&) = delete;

    void update(const void* data, std::size_t length);
    // The digest of everything fed so far; the hash must not be fed afterwards.
    Digest finish();

private:
    struct State;
    std::unique_ptr<State> state_;
};

} // namespace fenwold
