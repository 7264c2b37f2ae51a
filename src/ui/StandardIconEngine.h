#pragma once

#include <QIcon>
#include <QIconEngine>
#include <QPointer>
#include <QStyle>
#include <QStyleOption>

#include <optional>

namespace quillon {

// A style's standard icon made when it is first drawn or measured. The style
// decodes every size of such an icon from its images when the icon is made,
// which the toolbar would otherwise pay before its window can appear.
// Such an icon never counts as empty (asking would make it): only for icons
// every style has.
class StandardIconEngine : public QIconEngine {
public:
    // `style` (the application's style when null) makes the icon, with the
    // common part of `option` when there is one.
    explicit StandardIconEngine(QStyle::StandardPixmap which, QStyle* style = nullptr,
                                const QStyleOption* option = nullptr);

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
    QPointer<QStyle> m_style;
    std::optional<QStyleOption> m_option;
    QIcon m_icon;
    bool m_made = false;
};

// The application style's standard icon `which`, made on first use.
QIcon lazyStandardIcon(QStyle::StandardPixmap which);

}  // namespace quillon
