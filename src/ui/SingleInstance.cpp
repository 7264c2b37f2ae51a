#include "SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QTimer>

#include <unistd.h>

namespace quillon {

namespace {

// How long a second start waits for the running instance to confirm.
constexpr int kAnswerMs = 2000;

// A folder only this user owns and can enter, or "" when none can be had.
QString privateFolder()
{
    // Qt checks $XDG_RUNTIME_DIR for owner and mode ("" when it fails).
    // Without it (Qt would warn and guess a /tmp name) a folder in the home.
    QString folder;
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (!folder.isEmpty())
        return folder;
    folder = QDir::homePath() + QStringLiteral("/.cache/quillon-runtime");
    if (!QDir().mkpath(folder))
        return QString();
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    const QFileInfo info(folder);
    const QFileDevice::Permissions others = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                                            | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    if (info.ownerId() != ::getuid() || (info.permissions() & others))
        return QString();
    return folder;
}

// Reads one line of the hand-over; "" when none arrives in time.
QByteArray readLine(QLocalSocket& socket, int ms)
{
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(ms))
            return QByteArray();
    }
    return socket.readLine().trimmed();
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::defaultName()
{
    // One instance per user and display: a session on another X display
    // (a test run under Xvfb, say) is a session of its own.
    const QByteArray key = QDir::homePath().toUtf8() + '|' + qgetenv("DISPLAY") + '|' + qgetenv("WAYLAND_DISPLAY");
    const QString name = QStringLiteral("quillon-")
                         + QString::fromLatin1(QCryptographicHash::hash(key, QCryptographicHash::Sha1).toHex().left(12));
    const QString folder = privateFolder();
    // Without a private folder there is no safe shared name: a name of this
    // process alone still lets it start, as a second instance at worst.
    if (folder.isEmpty())
        return name + QLatin1Char('-') + QString::number(QCoreApplication::applicationPid());
    return folder + QLatin1Char('/') + name;
}

bool SingleInstance::handOver(const QString& programFile)
{
    {
        QLocalSocket socket;
        socket.connectToServer(m_name);
        if (socket.waitForConnected(500)) {
            const QByteArray request = programFile.isEmpty()
                                           ? QByteArray("raise\n")
                                           : "open " + programFile.toUtf8().toPercentEncoding() + '\n';
            socket.write(request);
            if (socket.waitForBytesWritten(kAnswerMs) && readLine(socket, kAnswerMs) == "ok") {
                socket.disconnectFromServer();
                return true;
            }
        }
    }
    // Nobody answered: a server file left by a crashed run is stale, and a
    // server that does not confirm cannot take the start over.
    QLocalServer::removeServer(m_name);
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    connect(m_server, &QLocalServer::newConnection, this, &SingleInstance::serve);
    m_server->listen(m_name);
    return false;
}

void SingleInstance::serve()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket]() {
            if (!socket->canReadLine())
                return;
            const QByteArray request = socket->readLine().trimmed();
            socket->write("ok\n");
            socket->flush();
            // Heard outside the socket's own signal: what follows may show a
            // dialog, and the socket may go while that dialog runs.
            QTimer::singleShot(0, this, [this, request]() {
                emit raiseRequested();
                if (request.startsWith("open "))
                    emit openRequested(QString::fromUtf8(QByteArray::fromPercentEncoding(request.mid(5))));
            });
        });
    }
}

}  // namespace quillon
