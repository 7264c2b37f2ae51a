#pragma once

#include "SerialTransport.h"

#include <QSerialPort>

namespace quillon {

// The transport over a real port (or a pseudo-terminal named by its path).
class QtSerialTransport : public SerialTransport {
    Q_OBJECT
public:
    explicit QtSerialTransport(QObject* parent = nullptr);
    ~QtSerialTransport() override;

    bool open(const QString& device) override;
    void close() override;
    void abort() override;
    bool isOpen() const override;
    qint64 write(const QByteArray& bytes) override;
    qint64 bytesToWrite() const override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    PortError lastError() const override;

    static PortError fromQt(QSerialPort::SerialPortError error);

private:
    void onError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    PortError m_error = PortError::None;
    bool m_opening = false;
};

}  // namespace quillon
