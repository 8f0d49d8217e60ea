// A real gpsd reading one device and serving raw NMEA on a free loopback
// port; killed when it goes out of scope.
#pragma once

#include <QHostAddress>
#include <QProcess>
#include <QString>
#include <QTcpServer>
#include <string>

namespace tarvok::test {

class GpsdProcess {
public:
    explicit GpsdProcess(const std::string& device) : port_(freeLoopbackPort()) {
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral("gpsd"),
                       {QStringLiteral("-N"), QStringLiteral("-n"), QStringLiteral("-b"), QStringLiteral("-S"),
                        QString::number(port_), QString::fromStdString(device)});
        started_ = process_.waitForStarted(5000);
    }
    ~GpsdProcess() { kill(); }
    GpsdProcess(const GpsdProcess&) = delete;
    GpsdProcess& operator=(const GpsdProcess&) = delete;

    // gpsd is one of the setup packages; false when it could not be run.
    bool started() const { return started_; }
    quint16 port() const { return port_; }
    // Ends gpsd now, as a daemon going away under its clients would.
    void kill() {
        process_.kill();
        process_.waitForFinished(3000);
    }

private:
    static quint16 freeLoopbackPort() {
        QTcpServer s;
        s.listen(QHostAddress::LocalHost, 0);
        return s.serverPort();
    }

    quint16 port_;
    QProcess process_;
    bool started_ = false;
};

}  // namespace tarvok::test
