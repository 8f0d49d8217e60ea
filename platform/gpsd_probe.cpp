#include "platform/gpsd_probe.h"

#include <QTcpSocket>

namespace tarvok {

GpsdProbe::GpsdProbe(QObject* parent) : QObject(parent) {
    deadline_.setSingleShot(true);
    connect(&deadline_, &QTimer::timeout, this, [this] { finish(false); });
}

GpsdProbe::~GpsdProbe() {
    if (socket_) socket_->disconnect(this);
}

void GpsdProbe::start(const QString& host, std::uint16_t port, int milliseconds) {
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_.release()->deleteLater();
    }
    received_.clear();
    socket_ = std::make_unique<QTcpSocket>();
    QTcpSocket* s = socket_.get();
    connect(s, &QTcpSocket::readyRead, this, [this, s] {
        received_ += s->readAll();
        if (received_.contains("\"class\":\"VERSION\"")) finish(true);
        else if (received_.size() > 4096) finish(false);
    });
    connect(s, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError) { finish(false); });
    deadline_.start(milliseconds);
    s->connectToHost(host, port);
}

void GpsdProbe::finish(bool answered) {
    if (!socket_) return;
    deadline_.stop();
    socket_->disconnect(this);
    socket_->abort();
    socket_.release()->deleteLater();
    emit finished(answered);
}

}  // namespace tarvok
