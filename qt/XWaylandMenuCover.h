// Lets a menu the program draws itself close on a click anywhere else and take the keyboard when
// its X11 window runs under XWayland. There the menu never hears of clicks on Wayland surfaces
// (the panel, the desktop), and the keyboard stays with the surface the user clicked last. While
// the menu is open, a transparent window over the whole screen, which the compositor activates,
// takes both: a click anywhere else lands on it, outside the menu, and closes the menu; keys
// reach the menu.
#pragma once

#include <QWidget>

class QMenu;

class XWaylandMenuCover : public QWidget
{
    Q_OBJECT

public:
    // Follows the menu's opening and closing, owned by `owner`; does nothing outside XWayland,
    // where the menu's own pointer and keyboard grabs do the job.
    static void attach(QMenu& menu, QWidget& owner);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    XWaylandMenuCover(QMenu& menu, QWidget& owner);
    void cover(QMenu& menu);
};
