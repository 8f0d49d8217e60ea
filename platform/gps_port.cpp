#include "platform/gps_port.h"

#include <QSerialPort>
#include <QTcpSocket>
#include <QTimer>
#include <cctype>

namespace tarvok {

std::optional<LineSettings> parseLineSettings(std::string_view text) {
    LineSettings s;
    std::size_t i = 0;
    std::int64_t baud = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])) && baud < 100000000)
        baud = baud * 10 + (text[i++] - '0');
    if (i == 0 || baud <= 0 || baud >= 100000000) return std::nullopt;
    s.baudRate = static_cast<std::int32_t>(baud);
    if (i >= text.size()) return std::nullopt;
    char p = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i++])));
    if (p != 'n' && p != 'e' && p != 'o' && p != 'm' && p != 's') return std::nullopt;
    s.parity = p;
    if (i >= text.size() || !std::isdigit(static_cast<unsigned char>(text[i]))) return std::nullopt;
    s.dataBits = text[i++] - '0';
    std::string_view stop = text.substr(i);
    if (stop == "1" || stop == "0") s.stopBits = 1;
    else if (stop == "2") s.stopBits = 2;
    else if (stop == "1.5" || stop == "1,5") s.stopBits = 3;
    else return std::nullopt;
    return s;
}

std::string lineSettingsText(const LineSettings& line) {
    const char* stop = line.stopBits == 3 ? "1.5" : line.stopBits == 2 ? "2" : "1";
    return std::to_string(line.baudRate) + "," +
           static_cast<char>(std::toupper(static_cast<unsigned char>(line.parity))) + "," +
           std::to_string(line.dataBits) + "," + stop;
}

GpsPort::GpsPort(QObject* parent) : QObject(parent) {}
GpsPort::~GpsPort() = default;

namespace {
QSerialPort::Parity qtParity(char p) {
    switch (p) {
    case 'e': return QSerialPort::EvenParity;
    case 'o': return QSerialPort::OddParity;
    case 'm': return QSerialPort::MarkParity;
    case 's': return QSerialPort::SpaceParity;
    default: return QSerialPort::NoParity;
    }
}
QSerialPort::StopBits qtStopBits(int s) {
    if (s == 2) return QSerialPort::TwoStop;
    if (s == 3) return QSerialPort::OneAndHalfStop;
    return QSerialPort::OneStop;
}
}  // namespace

void GpsPort::open(const PortTarget& target, const LineSettings& line) {
    close();
    target_ = target;
    failing_ = false;
    if (target.kind == PortTarget::Kind::Gpsd) {
        socket_ = std::make_unique<QTcpSocket>();
        QTcpSocket* s = socket_.get();
        connect(s, &QTcpSocket::connected, this, [this, s] {
            s->write(R"(?WATCH={"enable":true,"nmea":true})"
                     "\n");
            emit opened();
        });
        connect(s, &QTcpSocket::readyRead, this, &GpsPort::takeGpsdData);
        connect(s, &QTcpSocket::errorOccurred, this,
                [this, s](QAbstractSocket::SocketError) { fail(s->errorString()); });
        if (target.port == 0) {
            QTimer::singleShot(0, this, [this] { fail(QStringLiteral("no port number in the gpsd address")); });
            return;
        }
        s->connectToHost(QString::fromStdString(target.host), target.port);
        return;
    }
    serial_ = std::make_unique<QSerialPort>();
    QSerialPort* p = serial_.get();
    p->setPortName(QString::fromStdString(target.device));
    QString problem;
    if (line.dataBits < 5 || line.dataBits > 8) {
        problem = QStringLiteral("%1 data bits are not possible").arg(line.dataBits);
    } else if (!p->open(QIODevice::ReadOnly)) {
        problem = p->errorString();
    } else if (!p->setBaudRate(line.baudRate) || !p->setDataBits(static_cast<QSerialPort::DataBits>(line.dataBits)) ||
               !p->setParity(qtParity(line.parity)) || !p->setStopBits(qtStopBits(line.stopBits)) ||
               !p->setFlowControl(QSerialPort::NoFlowControl)) {
        problem = p->errorString();
    }
    if (!problem.isEmpty()) {
        QTimer::singleShot(0, this, [this, problem] { fail(problem); });
        return;
    }
    connect(p, &QSerialPort::readyRead, this, &GpsPort::readyRead);
    connect(p, &QSerialPort::errorOccurred, this, [this, p](QSerialPort::SerialPortError e) {
        // A vanished device (USB unplugged) shows up as a resource error or
        // as a failing read; either ends reception.
        if (e == QSerialPort::ResourceError || e == QSerialPort::ReadError) fail(p->errorString());
    });
    QTimer::singleShot(0, this, [this] {
        if (isOpen()) emit opened();
    });
}

bool GpsPort::isOpen() const {
    if (serial_) return serial_->isOpen();
    if (socket_) return socket_->state() == QAbstractSocket::ConnectedState;
    return false;
}

void GpsPort::close() {
    if (serial_) {
        serial_->disconnect(this);
        serial_->close();
        serial_.release()->deleteLater();
    }
    if (socket_) {
        socket_->disconnect(this);
        socket_->abort();
        socket_.release()->deleteLater();
    }
    gpsdPending_.clear();
    gpsdNmea_.clear();
}

QByteArray GpsPort::readAll() {
    if (serial_) return serial_->readAll();
    // What the socket holds already (it announces new data only once its
    // last announcement has been handled).
    if (socket_) takeGpsdLines();
    QByteArray out;
    out.swap(gpsdNmea_);
    return out;
}

qint64 GpsPort::bytesAvailable() const {
    if (serial_) return serial_->bytesAvailable();
    return gpsdNmea_.size() + (socket_ ? socket_->bytesAvailable() : 0);
}

void GpsPort::takeGpsdData() {
    if (takeGpsdLines()) emit readyRead();
}

bool GpsPort::takeGpsdLines() {
    // gpsd interleaves its JSON reports ("{"class":"VERSION",...}") with the
    // receivers' sentences; only the sentences are the receiver's data.
    gpsdPending_ += socket_->readAll();
    qsizetype start = 0;
    qsizetype lf;
    bool any = false;
    while ((lf = gpsdPending_.indexOf('\n', start)) >= 0) {
        QByteArray line = gpsdPending_.mid(start, lf + 1 - start);
        start = lf + 1;
        if (!line.startsWith('{')) {
            gpsdNmea_ += line;
            any = true;
        }
    }
    gpsdPending_.remove(0, start);
    if (gpsdPending_.size() > 65536) gpsdPending_.clear();
    return any;
}

void GpsPort::fail(const QString& reason) {
    if (failing_) return;
    failing_ = true;
    close();
    emit failed(reason);
}

}  // namespace tarvok
