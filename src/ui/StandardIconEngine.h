#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QStyle>

namespace quillon {

// A style's standard icon made when it is first drawn or measured. The style
// decodes every size of such an icon from its images when the icon is made,
// which the toolbar would otherwise pay before its window can appear.
class StandardIconEngine : public QIconEngine {
public:
    explicit StandardIconEngine(QStyle::StandardPixmap which);

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override;
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state, qreal scale) override;
    QSize actualSize(const QSize& size, QIcon::Mode mode, QIcon::State state) override;
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override;
    QString key() const override;
    QIconEngine* clone() const override;

private:
    QIcon& icon();

    QStyle::StandardPixmap m_which;
    QIcon m_icon;
    bool m_made = false;
};

// The application style's standard icon `which`, made on first use.
QIcon lazyStandardIcon(QStyle::StandardPixmap which);

}  // namespace quillon
