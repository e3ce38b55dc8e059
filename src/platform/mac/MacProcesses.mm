#include "MacProcesses.h"

#import <Foundation/Foundation.h>

#include <libproc.h>

namespace fenwold {

bool MacProcesses::launch(const QString& path, const QStringList& arguments, QString* error) {
    NSMutableArray<NSString*>* args =
        [NSMutableArray arrayWithCapacity:static_cast<NSUInteger>(arguments.size())];
    for (const QString& a : arguments)
        [args addObject:a.toNSString()];
    NSError* failure = nil;
    // The task runs on; its end is reaped by Foundation. Nothing waits for it.
    NSTask* task = [NSTask launchedTaskWithExecutableURL:[NSURL fileURLWithPath:path.toNSString()]
                                               arguments:args
                                                   error:&failure
                                      terminationHandler:nil];
    if (error && !task)
        *error = QString::fromNSString(failure.localizedDescription);
    return task != nil;
}

std::optional<QString> MacProcesses::processName(int32_t pid) const {
    char buffer[128] = {};
    const int length = proc_name(pid, buffer, sizeof buffer);
    if (length <= 0)
        return std::nullopt;
    return QString::fromUtf8(buffer, length);
}

} // namespace fenwold
