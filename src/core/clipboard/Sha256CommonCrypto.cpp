#include "Sha256.h"

#include <CommonCrypto/CommonDigest.h>
#include <algorithm>

namespace fenwold {

struct Sha256::State {
    CC_SHA256_CTX context;
};

Sha256::Sha256() : state_(std::make_unique<State>()) {
    CC_SHA256_Init(&state_->context);
}

Sha256::~Sha256() = default;

void Sha256::update(const void* data, std::size_t length) {
    // CC_LONG is 32 bits wide: feed very large buffers in pieces.
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (length > 0) {
        const auto piece = static_cast<CC_LONG>(std::min<std::size_t>(length, 1u << 30));
        CC_SHA256_Update(&state_->context, bytes, piece);
        bytes += piece;
        length -= piece;
    }
}

Sha256::Digest Sha256::finish() {
    Digest digest{};
    CC_SHA256_Final(digest.data(), &state_->context);
    return digest;
}

} // namespace fenwold
