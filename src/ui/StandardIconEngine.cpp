#include "StandardIconEngine.h"

#include <QApplication>

namespace quillon {

StandardIconEngine::StandardIconEngine(QStyle::StandardPixmap which, QStyle* style, const QStyleOption* option)
    : m_which(which), m_style(style)
{
    if (option) {
        // Only the common part is kept, so it must not claim to be more, nor
        // point at an object that may be gone by then.
        m_option.emplace(*option);
        m_option->type = QStyleOption::SO_Default;
        m_option->version = QStyleOption::Version;
        m_option->styleObject = nullptr;
    }
}

QIcon& StandardIconEngine::icon()
{
    if (!m_made) {
        // A style that has gone (at the end of the run) leaves the icon empty.
        const QStyle* style = m_style ? m_style.data() : QApplication::style();
        if (style)
            m_icon = style->standardIcon(m_which, m_option ? &*m_option : nullptr);
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
