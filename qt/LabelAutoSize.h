// Labels that take the width of their caption, as the layouts' labels were designed to.
#pragma once

class QLabel;
class QWidget;

// The label's width becomes that of its text; its place and height stay.
void fitLabelToText(QLabel& label);
// The same for every text label inside the window (pictures keep their size).
void fitLabelsToText(QWidget& window);
