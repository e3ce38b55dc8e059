#include "WindowActivation.h"

#include <cstring>

namespace fenwold {

namespace {

void putLE(QByteArray& bytes, int offset, uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

} // namespace

WindowActivation::WindowActivation(PrivateServices* services, Accessibility& ax,
                                   std::function<double()> uptime)
    : services_(services), ax_(ax), uptime_(std::move(uptime)) {}

QByteArray WindowActivation::eventRecord(uint32_t id) {
    QByteArray record(256, '\0');
    record[0x04] = static_cast<char>(0xF8);
    record[0x08] = 0x01;
    const double far = 300000.0;
    uint64_t bits = 0;
    std::memcpy(&bits, &far, sizeof bits);
    putLE(record, 0x20, bits, 8);
    putLE(record, 0x28, bits, 8);
    record[0x3A] = 0x10;
    putLE(record, 0x3C, id, 4);
    return record;
}

QByteArray WindowActivation::remoteToken(int32_t pid, uint64_t elementID) {
    QByteArray token(20, '\0');
    putLE(token, 0, static_cast<uint32_t>(pid), 4);
    putLE(token, 8, 0x636F636F, 4);
    putLE(token, 12, elementID, 8);
    return token;
}

bool WindowActivation::focus(ProcessSerial psn, uint32_t id) {
    if (!services_ || !services_->hasFrontProcess()) return false;
    const auto front = services_->setFrontProcessWithOptions(psn, id, frontOptions);
    if (!front || *front != 0) return false;
    const auto posted = services_->postEventRecord(psn, eventRecord(id));
    return posted && *posted == 0;
}

AXElement WindowActivation::resolve(int32_t pid, uint32_t id) {
    if (!ax_.hasRemoteTokens()) return {};
    QByteArray token = remoteToken(pid, 0);
    const double start = uptime_();
    for (uint64_t element = 0; element < maxTokenProbes; ++element) {
        putLE(token, 12, element, 8);
        if (AXElement candidate = ax_.elementFromRemoteToken(token)) {
            ax_.setMessagingTimeout(candidate, tokenProbeTimeout);
            if (ax_.windowNumber(candidate) == id &&
                ax_.attribute(candidate, QStringLiteral("AXRole")).asString() == QStringLiteral("AXWindow"))
                return candidate;
        }
        if (uptime_() >= start + tokenSearchSeconds) break;
    }
    return {};
}

} // namespace fenwold
