#include "platform/termination.h"

#include <QObject>
#include <QPointer>
#include <QSocketNotifier>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <pthread.h>
#include <sys/socket.h>
#include <unistd.h>

namespace tarvok {

namespace {

// The signal handler writes one byte into this pair; the event loop reads it.
int wakePair[2] = {-1, -1};
// Seconds the program has to end after the first request; 0: no bound.
volatile std::sig_atomic_t endWithinSeconds = 0;
// The first request's signal, 0 until one came.
volatile std::sig_atomic_t firstRequest = 0;

extern "C" void wakeEventLoop(int signal) {
    const int saved = errno;
    if (firstRequest == 0) {
        firstRequest = signal;
        if (endWithinSeconds > 0) ::alarm(static_cast<unsigned>(endWithinSeconds));
    }
    const char byte = 1;
    [[maybe_unused]] ssize_t n = ::write(wakePair[0], &byte, 1);
    errno = saved;
}

// The bound has passed: the first request's signal takes its default
// action, ending the program however it is stuck.
extern "C" void endNow(int) {
    const int signal = firstRequest != 0 ? int(firstRequest) : SIGTERM;
    struct sigaction fallback = {};
    fallback.sa_handler = SIG_DFL;
    sigemptyset(&fallback.sa_mask);
    sigaction(signal, &fallback, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, signal);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

void handle(int signal, void (*handler)(int)) {
    struct sigaction action = {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(signal, &action, nullptr);
}

}  // namespace

void onTerminationRequest(QObject* context, std::function<void()> onRequest, std::chrono::seconds endWithin) {
    static QPointer<QSocketNotifier> notifier;
    if (wakePair[0] < 0 && ::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0, wakePair) != 0)
        return;  // no pair: the signals keep their default action
    delete notifier;
    notifier = new QSocketNotifier(wakePair[1], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context, [onRequest = std::move(onRequest)] {
        char bytes[64];
        while (::read(wakePair[1], bytes, sizeof bytes) > 0) {}
        onRequest();
    });
    endWithinSeconds = static_cast<std::sig_atomic_t>(std::max<long long>(0, endWithin.count()));
    if (endWithinSeconds > 0) handle(SIGALRM, endNow);
    for (int signal : {SIGTERM, SIGHUP, SIGINT}) handle(signal, wakeEventLoop);
}

}  // namespace tarvok
