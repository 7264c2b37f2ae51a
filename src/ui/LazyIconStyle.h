#pragma once

#include <QProxyStyle>

namespace quillon {

// The application's style with the overflow arrows of menu bars and toolbars
// made when first drawn. Qt asks for them while it builds any menu bar or
// toolbar, and the first image read loads every image-format plugin; neither
// need hold up the window. The icon is made from what the asker's style
// option has in common with every option (direction, palette, state); the
// asking widget is not kept, as it may not outlive the icon.
class LazyIconStyle : public QProxyStyle {
    Q_OBJECT
public:
    // Takes `base` over.
    explicit LazyIconStyle(QStyle* base);

    QIcon standardIcon(StandardPixmap standardIcon, const QStyleOption* option = nullptr,
                       const QWidget* widget = nullptr) const override;
};

}  // namespace quillon
