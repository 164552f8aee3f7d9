// Keeping the reminder in the window manager's "above" layer on X11.
#pragma once

class QWidget;

// True when the X event says the window's _NET_WM_STATE changed and no longer holds
// _NET_WM_STATE_ABOVE. False for anything else, and off X11.
bool x11AboveStateLost(const QWidget& window, const void* xcbEvent);

// Asks the window manager to put the window back into the above layer.
void x11RequestAbove(const QWidget& window);
