#include "MacPrivateServices.h"

#import <ApplicationServices/ApplicationServices.h>
#import <Foundation/Foundation.h>

#include <dlfcn.h>

namespace fenwold {

namespace {

using SetFrontFn = CGError (*)(ProcessSerialNumber*, uint32_t, uint32_t);
using PostRecordFn = CGError (*)(ProcessSerialNumber*, uint8_t*);
using DockNotifyFn = void (*)(CFStringRef, int);
using LockFn = int (*)();

// A symbol of a framework opened once for the life of the process; null when either is missing.
void* lookUp(const char* framework, const char* symbol) {
    void* handle = dlopen(framework, RTLD_LAZY);
    return handle ? dlsym(handle, symbol) : nullptr;
}

ProcessSerialNumber toPSN(ProcessSerial psn) { return {psn.high, psn.low}; }

} // namespace

MacPrivateServices::MacPrivateServices()
    : setFront_(lookUp("/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight",
                       "_SLPSSetFrontProcessWithOptions")),
      postRecord_(
          lookUp("/System/Library/PrivateFrameworks/SkyLight.framework/SkyLight", "SLPSPostEventRecordTo")),
      // Exported by HIServices, which ApplicationServices has already loaded.
      dockNotify_(dlsym(RTLD_DEFAULT, "CoreDockSendNotification")),
      lock_(lookUp("/System/Library/PrivateFrameworks/login.framework/login", "SACLockScreenImmediate")) {}

bool MacPrivateServices::hasFrontProcess() const { return setFront_ && postRecord_; }

std::optional<int32_t> MacPrivateServices::setFrontProcessWithOptions(ProcessSerial psn, uint32_t window,
                                                                      uint32_t options) {
    if (!setFront_)
        return std::nullopt;
    ProcessSerialNumber serial = toPSN(psn);
    return reinterpret_cast<SetFrontFn>(setFront_)(&serial, window, options);
}

std::optional<int32_t> MacPrivateServices::postEventRecord(ProcessSerial psn, const QByteArray& record) {
    if (!postRecord_)
        return std::nullopt;
    ProcessSerialNumber serial = toPSN(psn);
    QByteArray bytes = record.leftJustified(0x100, '\0', true); // the call reads a 256-byte record
    return reinterpret_cast<PostRecordFn>(postRecord_)(&serial, reinterpret_cast<uint8_t*>(bytes.data()));
}

std::optional<ProcessSerial> MacPrivateServices::processSerial(int32_t pid) {
    ProcessSerialNumber serial = {0, 0};
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wdeprecated-declarations"
    const OSStatus status = GetProcessForPID(pid, &serial);
#pragma clang diagnostic pop
    if (status != noErr)
        return std::nullopt;
    return ProcessSerial{serial.highLongOfPSN, serial.lowLongOfPSN};
}

std::optional<int32_t> MacPrivateServices::dockNotification(const QString& name) {
    if (!dockNotify_)
        return std::nullopt;
    reinterpret_cast<DockNotifyFn>(dockNotify_)((__bridge CFStringRef)name.toNSString(), 0);
    return 0;
}

std::optional<int32_t> MacPrivateServices::lockScreen() {
    if (!lock_)
        return std::nullopt;
    return reinterpret_cast<LockFn>(lock_)();
}

} // namespace fenwold
