// Tells when a program started detached (not our child, so there is no
// wait for it) has ended: the kernel's process descriptor of it (pidfd)
// becomes readable then, and the event loop hears it without polling.
#pragma once

#include <QObject>
#include <QtGlobal>

class QSocketNotifier;

namespace tarvok {

class ProcessEndWatch : public QObject {
    Q_OBJECT
public:
    explicit ProcessEndWatch(qint64 pid, QObject* parent = nullptr);
    ~ProcessEndWatch() override;
    ProcessEndWatch(const ProcessEndWatch&) = delete;
    ProcessEndWatch& operator=(const ProcessEndWatch&) = delete;

    // False when the process cannot be watched (a kernel without process
    // descriptors): its end is then never told.
    bool watching() const { return watching_; }

signals:
    // Once, from the event loop: the process has ended (also when it had
    // already ended before the watch began).
    void ended();

private:
    void end();

    int fd_ = -1;
    QSocketNotifier* notifier_ = nullptr;
    bool watching_ = false;
    bool ended_ = false;
};

}  // namespace tarvok
