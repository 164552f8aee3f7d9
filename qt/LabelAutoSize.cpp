// Labels that take the width of their caption, as the layouts' labels were designed to.
#include "qt/LabelAutoSize.h"

#include <QLabel>

// The stored widths were measured with the designer's font; with a substitute font a caption
// can come out a few pixels wider and would be cut off.
void fitLabelToText(QLabel& label)
{
    label.resize(label.sizeHint().width(), label.height());
}

void fitLabelsToText(QWidget& window)
{
    window.ensurePolished(); // the layout's style sheet decides the fonts
    for (QLabel* label : window.findChildren<QLabel*>())
        if (!label->text().isEmpty())
            fitLabelToText(*label);
}
