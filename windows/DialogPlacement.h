// Where the dialogs appear when they open.
#pragma once

class QWidget;

// Centres the window on the primary screen, whatever the position of its (hidden) owner.
void centreOnScreen(QWidget& window);
