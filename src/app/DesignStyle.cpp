#include "DesignStyle.h"

#include <QDialogButtonBox>
#include <QStyleFactory>

DesignStyle::DesignStyle() : QProxyStyle(QStyleFactory::create(QStringLiteral("Fusion")))
{
}

int DesignStyle::styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                           QStyleHintReturn *returnData) const
{
    switch (hint) {
    case SH_DialogButtonLayout:
        return QDialogButtonBox::WinLayout;
    case SH_DialogButtonBox_ButtonsHaveIcons:
        return false;
    default:
        return QProxyStyle::styleHint(hint, option, widget, returnData);
    }
}
