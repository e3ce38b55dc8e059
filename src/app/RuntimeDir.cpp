#include "RuntimeDir.h"

#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace fenwold {

std::optional<QString> providePrivateRuntimeDir(const QString& base) {
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) return std::nullopt;
    const uid_t uid = ::geteuid();
    const QString folder = base + QStringLiteral("/fenwold-runtime-%1").arg(uid);
    const QByteArray path = QFile::encodeName(folder);
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) return std::nullopt;
    // Someone else's folder, or a link, in its place is not used: its owner could read what
    // goes there.
    struct stat info {};
    if (::lstat(path.constData(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != uid)
        return std::nullopt;
    if ((info.st_mode & 0777) != 0700 && ::chmod(path.constData(), 0700) != 0) return std::nullopt;
    if (::setenv("XDG_RUNTIME_DIR", path.constData(), 1) != 0) return std::nullopt;
    return folder;
}

} // namespace fenwold
