#include "platform/termination.h"

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvok {

namespace {

// The signal handler writes one byte into this pair; the event loop reads it.
int wakePair[2] = {-1, -1};

extern "C" void wakeEventLoop(int) {
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wakePair[0], &byte, 1);
    errno = saved;
}

}  // namespace

void onTerminationRequest(QObject* context, std::function<void()> onRequest) {
    static QPointer<QSocketNotifier> notifier;
    if (wakePair[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakePair) != 0)
        return;  // no pair: the signals keep their default action
    delete notifier;
    notifier = new QSocketNotifier(wakePair[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onRequest = std::move(onRequest)] {
        char bytes[64];
        while (::read(wakePair[1], bytes, sizeof bytes) > 0) {
        }
        onRequest();
    });
    struct sigaction action = {};
    action.sa_handler = wakeEventLoop;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) sigaction(signal, &action, nullptr);
}

}  // namespace tarvok
