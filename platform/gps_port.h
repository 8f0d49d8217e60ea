// The GPS receiver's port: a serial line (QSerialPort) or a gpsd daemon.
//
// Where COMn leads is resolved by platform/com_port.h. A gpsd connection
// asks for the raw NMEA of every receiver gpsd serves with
// ?WATCH={"enable":true,"nmea":true}.
#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/com_port.h"

class QIODevice;
class QSerialPort;
class QTcpSocket;

namespace tarvok {

// The classic serial settings string, "baud, parity letter, data bits, stop
// bits" written without separators: "4800n81" is 4800 baud, no parity, 8
// data bits, one stop bit. Parity letters n, e, o, m, s (any case); stop
// bits "1", "1.5" or "2"; "0", which no line has, is taken as one.
struct LineSettings {
    std::int32_t baudRate = 4800;
    char parity = 'n';
    int dataBits = 8;
    int stopBits = 1;  // 1, 2, or 3 for one and a half
    friend bool operator==(const LineSettings&, const LineSettings&) = default;
};

// Empty when the text is not such a string.
std::optional<LineSettings> parseLineSettings(std::string_view text);

// The settings as "4800,N,8,1" (stop bits "1", "1.5" or "2").
std::string lineSettingsText(const LineSettings& line);

// An open port hands out what arrives; it reports a failure (device gone,
// connection lost) once and is closed from then on.
class GpsPort : public QObject {
    Q_OBJECT
public:
    explicit GpsPort(QObject* parent = nullptr);
    ~GpsPort() override;

    // Starts opening; `opened` or `failed` follows from the event loop (a
    // serial port answers at once, gpsd when its connection stands).
    void open(const PortTarget& target, const LineSettings& line);
    bool isOpen() const;
    void close();
    // Everything received and not yet taken. `readyRead` is not sent again
    // while a handler of it runs; such a handler asks bytesAvailable()
    // before it returns.
    QByteArray readAll();
    qint64 bytesAvailable() const;

    const PortTarget& target() const { return target_; }

signals:
    void opened();
    void readyRead();
    // Opening failed or the open port broke; the port is closed.
    void failed(const QString& reason);

private:
    void fail(const QString& reason);
    void takeGpsdData();
    bool takeGpsdLines();  // true when receiver lines were added

    PortTarget target_;
    std::unique_ptr<QSerialPort> serial_;
    std::unique_ptr<QTcpSocket> socket_;
    QByteArray gpsdPending_;  // a gpsd line not yet complete
    QByteArray gpsdNmea_;     // gpsd's NMEA lines, its own JSON reports left out
    bool failing_ = false;
};

}  // namespace tarvok
