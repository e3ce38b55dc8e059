#pragma once

#include "ports/PrivateServices.h"

namespace fenwold {

// Private entry points looked up at run time; each call answers nothing when its symbol is absent.
class MacPrivateServices final : public PrivateServices {
public:
    MacPrivateServices();

    bool hasFrontProcess() const override;
    std::optional<int32_t> setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                      uint32_t options) override;
    std::optional<int32_t> postEventRecord(ProcessSerial psn, const QByteArray& record) override;
    std::optional<ProcessSerial> processSerial(int32_t pid) override;
    std::optional<int32_t> dockNotification(const QString& name) override;
    std::optional<int32_t> lockScreen() override;

private:
    void* setFront_ = nullptr;
    void* postRecord_ = nullptr;
    void* dockNotify_ = nullptr;
    void* lock_ = nullptr;
};

} // namespace fenwold
