// Where a StatusNotifierItem host says its icon was clicked. The host passes x and y with
// Activate and ContextMenu, but Qt 6.4 hands on only the reason; it does write both numbers to
// its "qt.qpa.tray" debug log right before, so they are read from there (and kept out of the
// output). Under XWayland the cursor position is no substitute: it stays where the pointer last
// left an X window, not where the panel was clicked.
#pragma once

#include <QPoint>

#include <optional>

namespace TrayClickPoint {

// Starts listening; call once, after the application object exists.
void install();
// The point logged for the activation being handled now, if any; each point is given once.
std::optional<QPoint> take();

} // namespace TrayClickPoint
