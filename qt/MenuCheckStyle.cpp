// The tray menu's check marks: a bare mark on a checked item, nothing on an unchecked one.
#include "qt/MenuCheckStyle.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

// Styles such as Fusion draw every checkable menu item as a check box, an empty one while it is
// off; a menu item shows only its mark.
void MenuCheckStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                   QPainter* painter, const QWidget* widget) const
{
    if (element != PE_IndicatorCheckBox || !qobject_cast<const QMenu*>(widget)) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    if (!(option->state & State_On)) {
        return;
    }
    const QRectF box = QRectF(option->rect).adjusted(2, 2, -2, -2);
    QPainterPath mark;
    mark.moveTo(box.left(), box.top() + box.height() * 0.55);
    mark.lineTo(box.left() + box.width() * 0.4, box.bottom());
    mark.lineTo(box.right(), box.top());
    const QPalette::ColorRole role =
        (option->state & State_Selected) ? QPalette::HighlightedText : QPalette::WindowText;
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing);
    painter->setPen(QPen(option->palette.color(role), 1.6));
    painter->drawPath(mark);
    painter->restore();
}
