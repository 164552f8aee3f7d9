// The tray menu's check marks: a bare mark on a checked item, nothing on an unchecked one.
#pragma once

#include <QProxyStyle>

class MenuCheckStyle : public QProxyStyle
{
    Q_OBJECT

public:
    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                       const QWidget* widget) const override;
};
