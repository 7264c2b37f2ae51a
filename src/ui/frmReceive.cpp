#include "frmReceive.h"

#include "LinkDialogSupport.h"
#include "link/PortError.h"
#include "shell/MessageSink.h"
#include "shell/MillText.h"
#include "link/ReceiveJob.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

frmReceive::frmReceive(SerialTransport& port, QString comPort, MachineType machine, MessageSink& messages,
                       QWidget* parent)
    : QDialog(parent)
    , m_port(port)
    , m_comPort(std::move(comPort))
    , m_messages(messages)
{
    setObjectName(QStringLiteral("frmReceive"));
    setWindowTitle(QStringLiteral("Quillon empfängt von der Drehmaschine"));
    setModal(true);

    const QStringList help = {
        QStringLiteral("Bitte folgende Einstellungen an der Drehmaschine vornehmen:"),
        QStringLiteral("1. Stellen Sie sicher das sich die Drehmaschine im CNC Mode befindet"),
        QStringLiteral("    Auf dem Bildschirm der Drehmaschine"),
        QStringLiteral("2. Drücken Sie die INP Taste einmal um den Cursor auf den ersten G-Code"),
        QStringLiteral("    zu stellen Nummer"),
        QStringLiteral("3. Taste DEL einmal drückem um den G-Code zu löschen."),
        QStringLiteral("4. Nummer '66' eingeben."),
        QStringLiteral("5. Taste INP einmal drücken."),
        QStringLiteral("6. Taste FWD einmal drücken."),
        QStringLiteral("In der Box sehen Sie nun das von der Drehmaschine empfangene Programm"),
        QStringLiteral("(Um die Datenübertragung abzubrechen auf 'CANCEL' clicken)"),
    };
    const bool mill = machine == MachineType::F1;
    auto wording = [mill](const QString& s) { return mill ? strMillText(s) : s; };

    auto* layout = new QVBoxLayout(this);
    QLabel* lblHead = addLinkLabel(this, QStringLiteral("lblHead"),
                                   wording(QStringLiteral("CNC Programm von Drehmaschine empfangen")));
    QFont headFont = lblHead->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.2);
    lblHead->setFont(headFont);
    layout->addWidget(lblHead);
    for (int i = 0; i < help.size(); ++i) {
        layout->addWidget(addLinkLabel(this, QStringLiteral("lblHelp%1").arg(i), wording(help[i])));
        if (i == 9) {
            txtReceived = new QPlainTextEdit(this);
            txtReceived->setObjectName(QStringLiteral("txtReceived"));
            txtReceived->setReadOnly(true);
            txtReceived->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
            txtReceived->setFixedHeight(txtReceived->fontMetrics().lineSpacing() * 3 + 12);
            layout->addWidget(txtReceived);
        }
    }

    auto* buttons = new QHBoxLayout;
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    buttons->addStretch();
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);
    connect(cmdCancel, &QPushButton::clicked, this, &frmReceive::cmdCancel_Click);

    tmrDel.setObjectName(QStringLiteral("tmrDel"));
    tmrDel.setSingleShot(true);
    tmrDel.setInterval(200);
    connect(&tmrDel, &QTimer::timeout, this, &frmReceive::tmrDel_Timer);
    centreOverParent(this);
}

frmReceive::~frmReceive()
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void frmReceive::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_job && !m_cancelled && !tmrDel.isActive())
        tmrDel.start();
}

void frmReceive::tmrDel_Timer()
{
    if (m_job || m_cancelled)
        return;
    m_job = std::make_unique<ReceiveJob>(m_port, m_comPort, static_cast<TransferObserver&>(*this));
    m_job->setSilenceLimit(m_silenceMs);
    m_job->start();
}

void frmReceive::cmdCancel_Click()
{
    const TraceScope trace(m_trace, "frmReceive", "cmdCancel_Click");
    if (m_cancelled || m_outcome != TransferOutcome::Running)
        return;
    m_cancelled = true;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    cmdCancel->setEnabled(false);
    if (m_job) {
        m_job->cancel();
    } else {
        // Cancelled before the port was opened.
        tmrDel.stop();
        finished(TransferOutcome::Cancelled);
    }
}

void frmReceive::reject()
{
    cmdCancel_Click();
}

void frmReceive::receivedTextChanged(const QString& display)
{
    const TraceScope trace(m_trace, "frmReceive", "ReceiveText");
    QString shown = display;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    shown.remove(QChar(0));
    txtReceived->setPlainText(shown);
    txtReceived->moveCursor(QTextCursor::End);
}

void frmReceive::portFailed(const QString& report)
{
    m_messages.StdMsgBox(report, MsgStyle::Exclamation, QString::fromLatin1(kPortErrorTitle));
}

void frmReceive::finished(TransferOutcome outcome)
{
    m_outcome = outcome;
    if (m_job)
        m_received = m_job->received();
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    QMetaObject::invokeMethod(this, [this] { QDialog::accept(); }, Qt::QueuedConnection);
}

}  // namespace quillon
