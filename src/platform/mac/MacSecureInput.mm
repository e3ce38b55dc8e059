#include "MacSecureInput.h"

#include "CFRef.h"

#include <ApplicationServices/ApplicationServices.h>
#include <Carbon/Carbon.h>

namespace fenwold {

namespace {
// The session dictionary's entry for the process holding Secure Event Input, a CFNumber. The
// SDK exports the constant (kCGSSessionSecureInputPID) without declaring it; its value is its name.
const CFStringRef kSecureInputPIDKey = CFSTR("kCGSSessionSecureInputPID");
} // namespace

// True whichever process enabled it, this one included. Called on the main thread: HIToolbox
// does not promise it is thread safe.
bool MacSecureInput::enabled() const { return IsSecureEventInputEnabled(); }

std::optional<int32_t> MacSecureInput::holderPid() const {
    // Copy rule: the dictionary is ours to release; the value inside it is not.
    CFRef<CFDictionaryRef> session(CGSessionCopyCurrentDictionary());
    if (!session)
        return std::nullopt;
    const void* value = CFDictionaryGetValue(session.get(), kSecureInputPIDKey);
    if (!value || CFGetTypeID(value) != CFNumberGetTypeID())
        return std::nullopt;
    int32_t pid = 0;
    if (!CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &pid))
        return std::nullopt;
    return pid;
}

} // namespace fenwold
