#include "SingleInstance.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QStandardPaths>
#include <QTimer>

#include <cerrno>
#include <cstring>
#include <memory>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quillon {

namespace {

// How long a second start waits for the running instance to take the
// connection, and then to confirm.
constexpr int kConnectMs = 500;
constexpr int kAnswerMs = 2000;
// A request is one short line; anything longer is not a start of ours.
constexpr qsizetype kMaxRequest = 64 * 1024;

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

// The socket's address; false when the path does not fit one.
bool socketAddress(const QString& name, sockaddr_un& address)
{
    const QString path = QDir::isAbsolutePath(name) ? name : QDir::tempPath() + QLatin1Char('/') + name;
    const QByteArray bytes = QFile::encodeName(path);
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    if (bytes.isEmpty() || bytes.size() >= qsizetype(sizeof address.sun_path))
        return false;
    std::memcpy(address.sun_path, bytes.constData(), bytes.size());
    return true;
}

// Waits until `fd` is ready for `events` or `deadline` has passed.
bool waitFor(int fd, short events, const QElapsedTimer& clock, int deadline)
{
    for (;;) {
        const int left = deadline - int(clock.elapsed());
        if (left <= 0)
            return false;
        pollfd p{fd, events, 0};
        const int n = ::poll(&p, 1, left);
        if (n > 0)
            return (p.revents & events) != 0;
        if (n < 0 && errno != EINTR)
            return false;
    }
}

// Sends `request` to the server at `address` and reads its one-line answer;
// "" when there is no server, or it does not answer in time.
QByteArray ask(const sockaddr_un& address, const QByteArray& request)
{
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return QByteArray();
    QElapsedTimer clock;
    clock.start();
    QByteArray answer;
    // A full backlog refuses for now (EAGAIN): try again until the time is up.
    int rc;
    while ((rc = ::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address)) != 0
           && (errno == EAGAIN || errno == EINTR) && clock.elapsed() < kConnectMs)
        ::usleep(10000);
    if (rc == 0) {
        qsizetype sent = 0;
        while (sent < request.size() && waitFor(fd, POLLOUT, clock, kConnectMs + kAnswerMs)) {
            const ssize_t n = ::send(fd, request.constData() + sent, size_t(request.size() - sent), MSG_NOSIGNAL);
            if (n < 0 && errno != EAGAIN && errno != EINTR)
                break;
            if (n > 0)
                sent += n;
        }
        char buffer[64];
        while (sent == request.size() && !answer.contains('\n') && answer.size() < 64
               && waitFor(fd, POLLIN, clock, kConnectMs + kAnswerMs)) {
            const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
            if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
                break;
            if (n > 0)
                answer.append(buffer, n);
        }
    }
    ::close(fd);
    const qsizetype end = answer.indexOf('\n');
    return end < 0 ? QByteArray() : answer.left(end).trimmed();
}

}  // namespace

SingleInstance::SingleInstance(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name))
{
}

SingleInstance::~SingleInstance()
{
    if (m_listenFd < 0)
        return;
    delete m_listener;
    ::close(m_listenFd);
    // The server's name goes with it, so a later start does not knock at a dead one.
    sockaddr_un address;
    if (socketAddress(m_name, address))
        ::unlink(address.sun_path);
}

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
    sockaddr_un address;
    if (socketAddress(m_name, address)) {
        const QByteArray request = programFile.isEmpty() ? QByteArray("raise\n")
                                                         : "open " + programFile.toUtf8().toPercentEncoding() + '\n';
        if (ask(address, request) == "ok")
            return true;
    }
    // Nobody answered: a server file left by a crashed run is stale, and a
    // server that does not confirm cannot take the start over.
    listen();
    return false;
}

void SingleInstance::listen()
{
    sockaddr_un address;
    if (!socketAddress(m_name, address))
        return;  // no server then; this start goes on alone
    ::unlink(address.sun_path);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return;
    // Only this user may connect, whatever folder the name lies in.
    if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0
        || ::chmod(address.sun_path, S_IRWXU) != 0 || ::listen(fd, 16) != 0) {
        ::close(fd);
        return;
    }
    m_listenFd = fd;
    m_listener = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(m_listener, &QSocketNotifier::activated, this, &SingleInstance::accept);
}

void SingleInstance::accept()
{
    for (;;) {
        const int fd = ::accept4(m_listenFd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (fd < 0)
            return;  // none waiting (or none to be had now); the notifier calls again
        // The connection closes with its notifier, which stops watching first.
        auto* notifier = new QSocketNotifier(fd, QSocketNotifier::Read, this);
        connect(notifier, &QObject::destroyed, [fd]() { ::close(fd); });
        auto received = std::make_shared<QByteArray>();
        connect(notifier, &QSocketNotifier::activated, this,
                [this, fd, notifier, received]() { read(fd, notifier, received.get()); });
    }
}

void SingleInstance::read(int fd, QSocketNotifier* notifier, QByteArray* received)
{
    char buffer[4096];
    const ssize_t n = ::recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && (errno == EAGAIN || errno == EINTR))
        return;
    if (n > 0)
        received->append(buffer, n);
    const qsizetype end = received->indexOf('\n');
    if (n > 0 && end < 0 && received->size() < kMaxRequest)
        return;  // more to come
    const QByteArray request = end < 0 ? QByteArray() : received->left(end).trimmed();
    if (end >= 0)
        ::send(fd, "ok\n", 3, MSG_NOSIGNAL);
    notifier->setEnabled(false);
    notifier->deleteLater();
    if (end < 0)
        return;
    // Heard outside the notifier's own signal: what follows may show a dialog.
    QTimer::singleShot(0, this, [this, request]() {
        emit raiseRequested();
        if (request.startsWith("open "))
            emit openRequested(QString::fromUtf8(QByteArray::fromPercentEncoding(request.mid(5))));
    });
}

}  // namespace quillon
