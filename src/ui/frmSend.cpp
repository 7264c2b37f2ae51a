#include "frmSend.h"

#include "LinkDialogSupport.h"
#include "link/PortError.h"
#include "shell/MessageSink.h"
#include "shell/MillText.h"
#include "link/SendJob.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillon {

frmSend::frmSend(SerialTransport& port, QString comPort, QByteArray text, MachineType machine, Units units,
                 QString estimate, MessageSink& messages, QWidget* parent)
    : QDialog(parent)
    , m_port(port)
    , m_comPort(std::move(comPort))
    , m_text(std::move(text))
    , m_messages(messages)
{
    setObjectName(QStringLiteral("frmSend"));
    setWindowTitle(QStringLiteral("Quillon sendet zur Drehmaschine"));
    setModal(true);

    const QStringList help = {
        QStringLiteral("Bitte folgende Einstellungen an der Drehmaschine vornehmen:"),
        QStringLiteral("1. Drehmaschine einschalten."),
        units == Units::Metric ? QStringLiteral("2. Schalter Inch/mm auf mm schalten.")
                               : QStringLiteral("2. Schalter Inch/mm auf Inch schalten."),
        QStringLiteral("3. Taste H/C drücken um die Maschine in den CNC Modus zu schalten."),
        QStringLiteral("4. Taste 'INP' einmal drücken."),
        QStringLiteral("5. Nummer '66' eingeben"),
        QStringLiteral("6. Taste 'INP' zweimal drücken."),
        QStringLiteral("Jetzt auf 'Start' clicken um mit der Datenübertragung zur Drehmaschine zu beginnen"),
        QStringLiteral("(Um die Datenübertragung abzubrechen auf 'CANCEL' clicken)"),
        estimate,
    };
    const bool mill = machine == MachineType::F1;
    auto wording = [mill](const QString& s) { return mill ? strMillText(s) : s; };

    auto* layout = new QVBoxLayout(this);
    lblHead = addLinkLabel(this, QStringLiteral("lblHead"), wording(QStringLiteral("CNC Programm zur Drehmaschine senden")));
    QFont headFont = lblHead->font();
    headFont.setBold(true);
    headFont.setPointSizeF(headFont.pointSizeF() * 1.2);
    lblHead->setFont(headFont);
    layout->addWidget(lblHead);
    for (int i = 0; i < help.size(); ++i)
        layout->addWidget(addLinkLabel(this, QStringLiteral("lblHelp%1").arg(i), wording(help[i])));

    pnlProgress = new QProgressBar(this);
    pnlProgress->setObjectName(QStringLiteral("pnlProgress"));
    pnlProgress->setRange(0, 100);
    pnlProgress->setValue(0);
    layout->addWidget(pnlProgress);

    auto* buttons = new QHBoxLayout;
    cmdStart = new QPushButton(QStringLiteral("Start"), this);
    cmdStart->setObjectName(QStringLiteral("cmdStart"));
    cmdStart->setDefault(true);
    cmdStart->setAutoDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(cmdStart);
    buttons->addWidget(cmdCancel);
    layout->addLayout(buttons);

    connect(cmdStart, &QPushButton::clicked, this, &frmSend::cmdStart_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmSend::cmdCancel_Click);
    centreOverParent(this);
}

frmSend::~frmSend()
{
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
}

void frmSend::cmdStart_Click()
{
    const TraceScope trace(m_trace, "frmSend", "cmdStart_Click");
    if (m_job)
        return;
    cmdStart->setEnabled(false);
    SendJob::Timing timing;
    timing.tickMs = m_tickMs;
    m_job = std::make_unique<SendJob>(m_port, m_comPort, m_text, static_cast<TransferObserver&>(*this), timing);
    m_job->start();
}

void frmSend::cmdCancel_Click()
{
    const TraceScope trace(m_trace, "frmSend", "cmdCancel_Click");
    if (!m_job) {
        // Nothing sent yet: the port was never opened.
        m_outcome = TransferOutcome::Cancelled;
        QDialog::reject();
        return;
    }
    if (!m_job->isRunning())
        return;
    cmdCancel->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_job->cancel();
}

void frmSend::reject()
{
    cmdCancel_Click();
}

void frmSend::progressChanged(int percent)
{
    const TraceScope trace(m_trace, "frmSend", "UpdateProgress");
    pnlProgress->setValue(percent);
}

void frmSend::portFailed(const QString& report)
{
    m_messages.StdMsgBox(report, MsgStyle::Exclamation, QString::fromLatin1(kPortErrorTitle));
}

void frmSend::finished(TransferOutcome outcome)
{
    m_outcome = outcome;
    if (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    // Leave the job's call stack before closing.
    QMetaObject::invokeMethod(
        this, [this] { m_outcome == TransferOutcome::Completed ? accept() : QDialog::reject(); },
        Qt::QueuedConnection);
}

}  // namespace quillon
