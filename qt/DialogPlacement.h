// Where the dialogs appear when they open.
#pragma once

class QWidget;

// Centres the window, frame included, on the primary screen, whatever the position of its
// (hidden) owner. Call it before the first showing.
void centreOnScreen(QWidget& window);
