#include "SplashWindow.h"

#include "model/MachineProfile.h"
#include "shell/AppIdentity.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QScreen>

namespace quillon {

namespace {

constexpr int kWidth = 460;
constexpr int kHeight = 230;
constexpr int kOkHeight = 26;

// A plain side view of the machine: bed, headstock, chuck and tool for the
// lathe; column, spindle and table for the mill.
QPixmap machinePicture(bool mill)
{
    QPixmap pm(150, 120);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(40, 40, 40), 2));
    if (mill) {
        p.setBrush(QColor(70, 110, 160));
        p.drawRect(20, 100, 110, 14);   // base
        p.drawRect(100, 10, 22, 92);    // column
        p.drawRect(40, 12, 70, 22);     // head
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(60, 34, 12, 26);     // spindle
        p.drawLine(66, 60, 66, 72);     // cutter
        p.drawRect(30, 80, 80, 10);     // table
    } else {
        p.setBrush(QColor(70, 110, 160));
        p.drawRect(10, 90, 130, 16);    // bed
        p.drawRect(12, 40, 40, 50);     // headstock
        p.drawRect(112, 58, 24, 32);    // tailstock
        p.setBrush(QColor(190, 190, 190));
        p.drawRect(52, 52, 12, 26);     // chuck
        p.drawRect(64, 60, 40, 10);     // work piece
        p.drawPolygon(QPolygon({QPoint(82, 84), QPoint(90, 72), QPoint(98, 84)}));  // tool
    }
    return pm;
}

}  // namespace

SplashWindow::SplashWindow(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("frmSplash"));
    setWindowTitle(applicationTitle());
    setFixedSize(kWidth, kHeight);
    setAutoFillBackground(true);
    setStyleSheet(QStringLiteral("QDialog#frmSplash { background: white; border: 2px solid #404040; }"));

    m_title = new QLabel(this);
    m_title->setObjectName(QStringLiteral("lblTitle"));
    QFont big = m_title->font();
    big.setPointSize(14);
    big.setBold(true);
    m_title->setFont(big);
    m_title->setWordWrap(true);
    m_title->setGeometry(16, 20, 270, 64);

    m_model = new QLabel(this);
    m_model->setObjectName(QStringLiteral("lblModel"));
    m_model->setGeometry(16, 96, 270, 20);

    m_version = new QLabel(QStringLiteral("Version ") + versionText(), this);
    m_version->setObjectName(QStringLiteral("lblVersion"));
    m_version->setGeometry(16, 124, 270, 20);

    auto* company = new QLabel(applicationTitle(), this);
    company->setObjectName(QStringLiteral("lblProductName"));
    company->setGeometry(16, 190, 270, 20);

    m_mill = new QLabel(this);
    m_mill->setObjectName(QStringLiteral("imgMill"));
    m_mill->setPixmap(machinePicture(true));
    m_mill->resize(150, 120);
    m_lathe = new QLabel(this);
    m_lathe->setObjectName(QStringLiteral("imgLathe"));
    m_lathe->setPixmap(machinePicture(false));
    m_lathe->resize(150, 120);

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOk"));
    m_ok->setGeometry(kWidth - 96, kHeight + 2, 80, kOkHeight - 4);
    connect(m_ok, &QPushButton::clicked, this, &QDialog::hide);

    m_timer.setObjectName(QStringLiteral("tmrSplash"));
    m_timer.setSingleShot(true);
    m_timer.setInterval(2500);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::tmrSplashTimer);
    layoutStep();
}

void SplashWindow::setMachine(MachineType type)
{
    const MachineProfile& profile = machineProfile(type);
    m_title->setText(profile.splashTitle);
    m_model->setText(profile.splashModel);
    m_mill->setVisible(type == MachineType::F1);
    m_lathe->setVisible(type == MachineType::Mark2 || type == MachineType::Mark4);
    layoutStep();
}

void SplashWindow::startTimer()
{
    m_timer.start();
}

void SplashWindow::dismiss()
{
    tmrSplashTimer();
}

void SplashWindow::tmrSplashTimer()
{
    m_timer.stop();
    hide();
    // From now on the window is the about box; a command that came before
    // the timer must not leave it without its OK button.
    if (!m_aboutView) {
        m_aboutView = true;
        setFixedSize(kWidth, kHeight + 2 * kOkHeight);
    }
}

void SplashWindow::layoutStep()
{
    if (m_layingOut)
        return;
    m_layingOut = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
    }
    m_lathe->move(width() - m_lathe->width() - 12, 40);
    m_mill->move(m_lathe->x(), 40);
    m_layingOut = false;
}

void SplashWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    layoutStep();
}

void SplashWindow::mousePressEvent(QMouseEvent* event)
{
    QDialog::mousePressEvent(event);
    hide();
}

}  // namespace quillon
