#include "LazyIconStyle.h"

#include "StandardIconEngine.h"

namespace quillon {

LazyIconStyle::LazyIconStyle(QStyle* base)
    : QProxyStyle(base)
{
}

QIcon LazyIconStyle::standardIcon(StandardPixmap standardIcon, const QStyleOption* option, const QWidget* widget) const
{
    // The overflow arrows every menu bar and toolbar asks for while it is
    // built; every style has them. Other icons are made at once.
    if (standardIcon != SP_ToolBarHorizontalExtensionButton && standardIcon != SP_ToolBarVerticalExtensionButton)
        return QProxyStyle::standardIcon(standardIcon, option, widget);
    return QIcon(new StandardIconEngine(standardIcon, baseStyle(), option));
}

}  // namespace quillon
