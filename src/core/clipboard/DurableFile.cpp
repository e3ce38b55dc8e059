#include "DurableFile.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fenwold {

namespace {

// A descriptor that is closed however the function leaves.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

bool writeAll(int fd, const char* data, qsizetype size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, static_cast<size_t>(size));
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// To the disk itself: on a Mac fsync only reaches the drive's cache.
bool flushToDisk(int fd) {
#ifdef F_FULLFSYNC
    if (::fcntl(fd, F_FULLFSYNC) == 0) return true; // some file systems refuse it; fsync then
#endif
    return ::fsync(fd) == 0;
}

} // namespace

QString durableTemporaryPath(const QString& path) {
    return path + QStringLiteral(".saving");
}

bool replaceFileDurably(const QString& path, const QByteArray& bytes) {
    const QByteArray target = QFile::encodeName(path);
    const QByteArray temporary = QFile::encodeName(durableTemporaryPath(path));
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());

    bool written = false;
    {
        // No following a link someone left in the temporary file's place.
        Descriptor file(
            ::open(temporary.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
        written = file.get() >= 0 && ::fchmod(file.get(), 0600) == 0 &&
                  writeAll(file.get(), bytes.constData(), bytes.size()) && flushToDisk(file.get()) &&
                  file.close();
    }
    if (!written || ::rename(temporary.constData(), target.constData()) != 0) {
        ::unlink(temporary.constData());
        return false;
    }
    // The rename itself lives in the folder. Some file systems cannot open or flush a folder;
    // the new file is in place all the same, so only the disk failing counts against the save.
    Descriptor directory(::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return directory.get() < 0 || flushToDisk(directory.get()) || errno != EIO;
}

} // namespace fenwold
