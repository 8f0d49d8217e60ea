#include "platform/process_end_watch.h"

#include <QSocketNotifier>
#include <QTimer>
#include <cerrno>
#include <sys/syscall.h>
#include <unistd.h>

namespace tarvok {

ProcessEndWatch::ProcessEndWatch(qint64 pid, QObject* parent) : QObject(parent) {
    if (pid <= 0) return;
    // Close-on-exec from the start, so programs started later do not hold it.
    fd_ = static_cast<int>(::syscall(SYS_pidfd_open, static_cast<pid_t>(pid), 0u));
    if (fd_ < 0) {
        // Gone before we looked: ended, told from the event loop like any end.
        if (errno == ESRCH) {
            watching_ = true;
            QTimer::singleShot(0, this, &ProcessEndWatch::end);
        }
        return;
    }
    watching_ = true;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &ProcessEndWatch::end);
}

ProcessEndWatch::~ProcessEndWatch() {
    delete notifier_;
    if (fd_ >= 0) ::close(fd_);
}

void ProcessEndWatch::end() {
    if (ended_) return;
    ended_ = true;
    if (notifier_) notifier_->setEnabled(false);
    emit ended();
}

}  // namespace tarvok
