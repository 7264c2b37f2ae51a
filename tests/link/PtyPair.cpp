#include "PtyPair.h"

#include <QFileInfo>
#include <QThread>
#include <chrono>

namespace quillon::test {

PtyPair::PtyPair()
{
    if (!m_dir.isValid()) {
        m_why = QStringLiteral("no temporary folder");
        return;
    }
    m_socat.setStandardErrorFile(QProcess::nullDevice());
    const QString end = QStringLiteral("pty,raw,echo=0,link=");
    m_socat.start(QStringLiteral("socat"), {end + a(), end + b()});
    if (!m_socat.waitForStarted(3000)) {
        m_why = QStringLiteral("socat did not start: ") + m_socat.errorString();
        return;
    }
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    while (!(QFileInfo::exists(a()) && QFileInfo::exists(b()))) {
        if (std::chrono::steady_clock::now() > deadline || m_socat.state() == QProcess::NotRunning) {
            m_why = QStringLiteral("socat made no pseudo-terminals");
            return;
        }
        QThread::msleep(5);
    }
    m_ok = true;
}

PtyPair::~PtyPair()
{
    cut();
}

void PtyPair::cut()
{
    if (m_socat.state() == QProcess::NotRunning)
        return;
    m_socat.kill();
    m_socat.waitForFinished(3000);
}

}  // namespace quillon::test
