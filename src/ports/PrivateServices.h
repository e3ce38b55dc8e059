#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <optional>

namespace fenwold {

// A process serial number.
struct ProcessSerial {
    uint32_t high = 0;
    uint32_t low = 0;
    friend bool operator==(const ProcessSerial&, const ProcessSerial&) = default;
};

// Optional private system entry points, loaded at run time. Each may be absent; callers fall
// back to public paths.
class PrivateServices {
public:
    PrivateServices() = default;
    PrivateServices(const PrivateServices&) = delete;
    PrivateServices& operator=(const PrivateServices&) = delete;
    virtual ~PrivateServices() = default;

    // Whether the window server's front-process and event-record calls are present.
    virtual bool hasFrontProcess() const = 0;
    // Make a window's process front with options; returns the call's status (0 success), nullopt when absent.
    virtual std::optional<int32_t> setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                              uint32_t options) = 0;
    // Post a 256-byte event record to a process; nullopt when absent.
    virtual std::optional<int32_t> postEventRecord(ProcessSerial psn, const QByteArray& record) = 0;
    // The process serial number of a pid; nullopt when it cannot be had.
    virtual std::optional<ProcessSerial> processSerial(int32_t pid) = 0;
    // Send a Dock notification such as "com.apple.showdesktop.awake"; nullopt when absent.
    virtual std::optional<int32_t> dockNotification(const QString& name) = 0;
    // Lock the screen at once; nullopt when absent.
    virtual std::optional<int32_t> lockScreen() = 0;
};

} // namespace fenwold
