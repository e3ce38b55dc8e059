#include "Trace.h"

#include "core/settings/Prefs.h"
#include "ports/Log.h"
#include "ports/MainQueue.h"

#include <QLocale>

#include <QDateTime>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fenwold {

namespace {

// Seconds between 1970-01-01 and the platform's reference date 2001-01-01.
constexpr int64_t kReferenceDateOffset = 978'307'200;

bool writeAll(int fd, const QByteArray& bytes) {
    const char* p = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n <= 0) return false;
        p += n;
        left -= n;
    }
    return true;
}

} // namespace

Trace::Trace(PrefsStore& prefs, const MainQueue& clock, const WallClock& wallClock, QString path)
    : prefs_(&prefs), clock_(&clock), wallClock_(&wallClock), path_(std::move(path)) {}

Trace::~Trace() {
    if (fd_ >= 0) ::close(fd_);
}

bool Trace::on() const {
    std::call_once(onceOn_, [this] { on_ = Prefs(*prefs_).debugLog(); });
    return on_;
}

QString Trace::stamp() const {
    return QStringLiteral("t=") + QString::number(clock_->uptime(), 'f', 3);
}

void Trace::write(const QString& line) {
    std::lock_guard guard(lock_);
    if (!opened_) openLocked();
    if (fd_ < 0) return;
    writeAll(fd_, (line + QLatin1Char('\n')).toUtf8());
}

void Trace::mark(const QString& text) {
    write(stamp() + QStringLiteral(" *** ") + text);
}

bool Trace::isOpen() {
    std::lock_guard guard(lock_);
    if (!opened_) openLocked();
    return fd_ >= 0;
}

void Trace::openLocked() {
    opened_ = true;
    if (!on()) return;
    const QByteArray path = path_.toLocal8Bit();
    const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) return;
    struct stat st {};
    // Someone else's file (or a device or pipe planted at the path) is not ours to append to.
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_uid != ::geteuid()) {
        ::close(fd);
        return;
    }
    // An older file may have been created readable by everyone.
    if ((st.st_mode & 0777) != 0600 && ::fchmod(fd, 0600) != 0) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    const auto now = QDateTime::fromMSecsSinceEpoch(
        static_cast<qint64>((wallClock_->now() + kReferenceDateOffset) * 1000.0), Qt::UTC);
    const QString start = QStringLiteral("--- start ") + now.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) +
                          QStringLiteral(" +0000 uptime=") +
                          QString::number(clock_->uptime(), 'g', QLocale::FloatingPointShortest) +
                          QLatin1Char('\n');
    writeAll(fd_, start.toUtf8());
}

} // namespace fenwold
