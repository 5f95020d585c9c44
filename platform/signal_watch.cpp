#include "platform/signal_watch.h"

#ifndef Q_OS_WIN
#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

namespace vrl::platform {

#ifdef Q_OS_WIN

void watchTerminationSignals(QObject*, std::function<void(int)>) {}

#else

namespace {
int gPipe[2] = {-1, -1};

extern "C" void onTerminationSignal(int signal) {
    const unsigned char n = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t ignored = ::write(gPipe[1], &n, 1);
}
} // namespace

void watchTerminationSignals(QObject* context, std::function<void(int)> handler) {
    if (gPipe[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, gPipe) != 0) return;
    for (int fd : gPipe) ::fcntl(fd, F_SETFD, FD_CLOEXEC);
    ::fcntl(gPipe[1], F_SETFL, O_NONBLOCK);
    auto* notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [handler] {
        unsigned char n = 0;
        if (::read(gPipe[0], &n, 1) == 1) handler(n);
    });
    struct sigaction action {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) ::sigaction(s, &action, nullptr);
}

#endif

} // namespace vrl::platform
