#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace quillon::test {

// Two connected pseudo-terminals made by socat, named by links in a
// private folder. The socat process ends with this object, whatever the
// test's outcome.
class PtyPair {
public:
    PtyPair();
    ~PtyPair();
    PtyPair(const PtyPair&) = delete;
    PtyPair& operator=(const PtyPair&) = delete;

    // False when socat is missing or the links did not appear; why() says.
    bool ok() const { return m_ok; }
    QString why() const { return m_why; }

    QString a() const { return m_dir.filePath(QStringLiteral("a")); }
    QString b() const { return m_dir.filePath(QStringLiteral("b")); }

    // Ends socat: both ends lose their peer, as when a cable adapter is
    // pulled out.
    void cut();

private:
    QTemporaryDir m_dir;
    QProcess m_socat;
    bool m_ok = false;
    QString m_why;
};

}  // namespace quillon::test
