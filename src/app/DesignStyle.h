#pragma once

#include <QProxyStyle>

// The look the window was designed in, whatever style or desktop theme is in
// force: Fusion, whose push buttons show the faces the design colours and
// whose scroll bars keep the arrows that its one-step clicks need, and
// dialogs with the same buttons in the same order everywhere (a desktop
// theme would reorder them and add icons).
class DesignStyle : public QProxyStyle
{
public:
    DesignStyle();
    int styleHint(StyleHint hint, const QStyleOption *option = nullptr, const QWidget *widget = nullptr,
                  QStyleHintReturn *returnData = nullptr) const override;
};
