#include "MacPrefsStore.h"

#include "CFRef.h"
#include "DistributedNotifications.h"
#include "PropertyList.h"

#import <Foundation/Foundation.h>

namespace fenwold {

namespace {
NSString* nameOf(const std::array<const void*, kPrefKeyCount>& names, PrefKey key) {
    return (__bridge NSString*)names[static_cast<size_t>(key)];
}
} // namespace

MacPrefsStore::MacPrefsStore() {
    for (size_t i = 0; i < kPrefKeyCount; ++i) {
        const auto name = prefKeyName(static_cast<PrefKey>(i));
        names_[i] = CFStringCreateWithBytes(nullptr, reinterpret_cast<const UInt8*>(name.data()),
                                            static_cast<CFIndex>(name.size()), kCFStringEncodingASCII, false);
    }
}

MacPrefsStore::~MacPrefsStore() {
    for (const void* n : names_)
        CFRelease(n);
}

PrefValue MacPrefsStore::read(PrefKey key) const {
    @autoreleasepool {
        id value = [NSUserDefaults.standardUserDefaults objectForKey:nameOf(names_, key)];
        return toPrefValue((__bridge CFPropertyListRef)value);
    }
}

void MacPrefsStore::write(PrefKey key, const PrefValue& value) {
    CFRef<CFPropertyListRef> plist(createPropertyList(value));
    [NSUserDefaults.standardUserDefaults setObject:(__bridge id)plist.get() forKey:nameOf(names_, key)];
}

void MacPrefsStore::registerDefault(PrefKey key, const PrefValue& value) {
    CFRef<CFPropertyListRef> plist(createPropertyList(value));
    // An empty value registers nothing (a nil object in a dictionary literal raises).
    if (!plist)
        return;
    [NSUserDefaults.standardUserDefaults registerDefaults:@{nameOf(names_, key) : (__bridge id)plist.get()}];
}

Subscription MacPrefsStore::observeChanges(std::function<void()> handler) {
    __block std::function<void()> block = std::move(handler);
    id token = [NSNotificationCenter.defaultCenter addObserverForName:NSUserDefaultsDidChangeNotification
                                                               object:nil
                                                                queue:nil
                                                           usingBlock:^(NSNotification*) {
                                                             block();
                                                           }];
    CFTypeRef retained = CFBridgingRetain(token);
    return Subscription([retained] {
        [NSNotificationCenter.defaultCenter removeObserver:(__bridge id)retained];
        CFRelease(retained);
    });
}

QVariant MacPrefsStore::readGlobal(const QString& key) const {
    CFRef<CFStringRef> name(key.toCFString());
    CFRef<CFPropertyListRef> value(CFPreferencesCopyValue(name.get(), kCFPreferencesAnyApplication,
                                                          kCFPreferencesCurrentUser, kCFPreferencesAnyHost));
    return toVariant(value.get());
}

void MacPrefsStore::writeGlobal(const QString& key, const QVariant& value) {
    CFRef<CFStringRef> name(key.toCFString());
    CFRef<CFPropertyListRef> plist(createPropertyList(value));
    CFPreferencesSetValue(name.get(), plist.get(), kCFPreferencesAnyApplication, kCFPreferencesCurrentUser,
                          kCFPreferencesAnyHost);
    CFPreferencesSynchronize(kCFPreferencesAnyApplication, kCFPreferencesCurrentUser, kCFPreferencesAnyHost);
}

QVariant MacPrefsStore::readDomain(const QString& domain, const QString& key) const {
    CFRef<CFStringRef> app(domain.toCFString());
    CFRef<CFStringRef> name(key.toCFString());
    CFPreferencesAppSynchronize(app.get());
    CFRef<CFPropertyListRef> value(CFPreferencesCopyAppValue(name.get(), app.get()));
    return toVariant(value.get());
}

Subscription MacPrefsStore::observeDistributed(const QString& name, std::function<void()> handler) {
    return observeDistributedNotification(name, std::move(handler));
}

void MacPrefsStore::postDistributed(const QString& name) {
    [NSDistributedNotificationCenter.defaultCenter postNotificationName:name.toNSString()
                                                                 object:nil
                                                               userInfo:nil
                                                     deliverImmediately:YES];
}

} // namespace fenwold
