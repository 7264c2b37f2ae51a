#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class QSocketNotifier;

namespace quillon {

// One running Quillon per user and display: a second start hands over to the
// first through a local socket and ends; the first comes to the front and
// opens the file the second start was given. Plain AF_UNIX sockets watched by
// the event loop: Qt Network (with Kerberos, proxy and DNS libraries behind
// it) would cost every start more than the window itself.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    explicit SingleInstance(QString name, QObject* parent = nullptr);
    ~SingleInstance() override;

    // The server for this user on this display: a socket in a folder that
    // only this user can reach ($XDG_RUNTIME_DIR, else a private 0700
    // folder), so no other local user can take the name or answer in its place.
    // A name that is not an absolute path lies in the temporary folder, as
    // for Qt's local sockets.
    static QString defaultName();

    // True when another instance runs and has confirmed the hand-over of
    // `programFile` ("" for none); otherwise, also when the other instance
    // does not answer, this instance starts listening and returns false, so
    // a failed hand-over never ends a start silently.
    bool handOver(const QString& programFile = QString());

signals:
    // A later start asked this instance to show its window.
    void raiseRequested();
    // ... and to open this program file (an absolute path).
    void openRequested(const QString& programFile);

private:
    void listen();
    void accept();
    // Reads from an accepted connection; answers and lets it go once its
    // request line is whole (or it fails or grows too long).
    void read(int fd, QSocketNotifier* notifier, QByteArray* received);

    QString m_name;
    int m_listenFd = -1;
    QSocketNotifier* m_listener = nullptr;
};

}  // namespace quillon
