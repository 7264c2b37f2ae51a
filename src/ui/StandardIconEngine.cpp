#include "StandardIconEngine.h"

#include <QApplication>

namespace quillon {

StandardIconEngine::StandardIconEngine(QStyle::StandardPixmap which)
    : m_which(which)
{
}

QIcon& StandardIconEngine::icon()
{
    if (!m_made) {
        m_icon = QApplication::style()->standardIcon(m_which);
        m_made = true;
    }
    return m_icon;
}

void StandardIconEngine::paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state)
{
    icon().paint(painter, rect, Qt::AlignCenter, mode, state);
}

QPixmap StandardIconEngine::pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return icon().pixmap(size, mode, state);
}

QPixmap StandardIconEngine::scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale)
{
    return icon().pixmap(size, scale, mode, state);
}

QSize StandardIconEngine::actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state)
{
    return icon().actualSize(size, mode, state);
}

QList<QSize> StandardIconEngine::availableSizes(QIcon::Mode mode, QIcon::State state)
{
    return icon().availableSizes(mode, state);
}

QString StandardIconEngine::key() const
{
    return QStringLiteral("QuillonStandardIcon");
}

QIconEngine* StandardIconEngine::clone() const
{
    // A copy made after the first use shares the icon made then.
    return new StandardIconEngine(*this);
}

QIcon lazyStandardIcon(QStyle::StandardPixmap which)
{
    return QIcon(new StandardIconEngine(which));
}

}  // namespace quillon
