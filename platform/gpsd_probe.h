// Whether a gpsd daemon answers at an address: it greets every new client
// with a VERSION report, so a connection that brings one is a gpsd.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <memory>

class QTcpSocket;

namespace tarvok {

class GpsdProbe : public QObject {
    Q_OBJECT
public:
    explicit GpsdProbe(QObject* parent = nullptr);
    ~GpsdProbe() override;

    // Starts asking; `finished` follows from the event loop within
    // `milliseconds`. A probe already running is abandoned for the new one.
    void start(const QString& host, std::uint16_t port, int milliseconds = 1500);
    bool running() const { return socket_ != nullptr; }

signals:
    // `answered`: a gpsd greeted us at host:port.
    void finished(bool answered);

private:
    void finish(bool answered);

    std::unique_ptr<QTcpSocket> socket_;
    QByteArray received_;
    QTimer deadline_;
};

}  // namespace tarvok
