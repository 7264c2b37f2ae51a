#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace quillon {

// One running Quillon per user and display: a second start hands over to the first
// through a local socket and ends; the first raises its window.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The server name for this user on this display.
    static QString defaultName();

    // True when another instance runs and has been asked to come forward;
    // otherwise this instance starts listening and returns false.
    bool handOver();

signals:
    // A later start asked this instance to show its window.
    void raiseRequested();

private:
    QString m_name;
    QLocalServer* m_server = nullptr;
};

}  // namespace quillon
