#include "ProcessSignals.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace fenwold {

namespace {
// The write end must be reachable from the signal handler, which can take no arguments.
int signalFds[2] = {-1, -1};

void onSignal(int number) {
    const auto byte = static_cast<char>(number);
    [[maybe_unused]] const ssize_t n = ::write(signalFds[0], &byte, 1);
}
} // namespace

ProcessSignals::ProcessSignals(std::function<void()> onRequest) : onRequest_(std::move(onRequest)) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalFds) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(signalFds[1], QSocketNotifier::Read);
    connect(notifier_.get(), &QSocketNotifier::activated, this, [this] {
        char byte = 0;
        if (::read(signalFds[1], &byte, 1) != 1) return;
        if (byte == SIGUSR1) {
            if (onRequest_) onRequest_();
            return;
        }
        QCoreApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    if (onRequest_) sigaction(SIGUSR1, &action, nullptr);
}

ProcessSignals::~ProcessSignals() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
    if (onRequest_) std::signal(SIGUSR1, SIG_DFL);
    notifier_.reset();
    for (int& fd : signalFds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

} // namespace fenwold
