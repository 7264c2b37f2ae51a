#pragma once

#include "SerialTransport.h"

#include <QSerialPort>

#include <thread>

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
    void startDrain() override;
    qint64 bytesAvailable() const override;
    QByteArray readAll() override;
    PortError lastError() const override;

    static PortError fromQt(QSerialPort::SerialPortError error);

private:
    void onError(QSerialPort::SerialPortError error);
    void onDrainReturned(unsigned transfer, int error);
    void joinDrainer();

    // tcdrain() blocks until the line is empty, seconds at 300 baud; it runs
    // on a helper thread that only waits and reports back through the event
    // loop. Each open, close and abort starts a new transfer number, so a
    // late answer never reaches the next transfer.
    std::thread m_drainer;
    unsigned m_transfer = 0;

    QSerialPort m_port;
    PortError m_error = PortError::None;
    bool m_opening = false;
};

}  // namespace quillon
